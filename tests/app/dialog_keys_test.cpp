// Every dialog of the main window answers the keys of the desktop: Return presses OK from the
// first field, Esc cancels; both close the dialog.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "app/main_window_fixture.h"
#include "base/path_helpers.h"

namespace kinetta::test {
namespace {

struct KeyCase {
  const char* command;  // the menu item that opens the dialog
  Qt::Key key;
  bool accepted;  // OK's effect took place
};

class DialogKeysTest : public MainWindowTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeysTest, ReturnAcceptsAndEscapeCancels) {
  const KeyCase& c = GetParam();
  app::MainWindow& w = Open();
  const std::string source = Picture("p.bmp", 6, 4);
  OpenPicture(source);
  for (int n = 0; n < 2; ++n) Picture(base::FrameFileName("p.bmp", n), 3, 2);
  const int framesBefore = w.settings().FrameCount;
  Trigger(c.command);
  QPointer<QDialog> dialog;
  for (QDialog* d : w.findChildren<QDialog*>()) {
    if (d->isVisible()) dialog = d;
  }
  ASSERT_FALSE(dialog.isNull());
  // The first field has the focus; the settings dialog's frame count is typed for OK to store.
  QWidget* field = dialog->focusWidget();
  ASSERT_NE(field, nullptr);
  if (auto* frames = dialog->findChild<QLineEdit*>(QStringLiteral("frameCountBox"))) {
    frames->setText(QString::number(framesBefore + 1));
  }
  prompter.savePaths.push_back(QString::fromStdString((picDir() / "a.gif").string()));
  QTest::keyClick(field, c.key);
  WaitIdle();
  ProcessPostedEvents();
  EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
  EXPECT_TRUE(prompter.warnings.isEmpty()) << prompter.warnings.join('\n').toStdString();
  const std::string command = c.command;
  if (command == "settingsAction") {
    EXPECT_EQ(w.settings().FrameCount, framesBefore + (c.accepted ? 1 : 0));
  } else if (command == "htmlPageAction") {
    EXPECT_EQ(std::filesystem::exists(picDir() / "animate.htm"), c.accepted);
  } else {
    EXPECT_EQ(prompter.saveCalls, c.accepted ? 1 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogKeysTest,
                         testing::Values(KeyCase{"settingsAction", Qt::Key_Return, true},
                                         KeyCase{"settingsAction", Qt::Key_Escape, false},
                                         KeyCase{"htmlPageAction", Qt::Key_Return, true},
                                         KeyCase{"htmlPageAction", Qt::Key_Escape, false},
                                         KeyCase{"animationFileAction", Qt::Key_Return, true},
                                         KeyCase{"animationFileAction", Qt::Key_Escape, false}));

}  // namespace
}  // namespace kinetta::test
