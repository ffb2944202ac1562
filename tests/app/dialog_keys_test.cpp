// Every dialog of the main window answers the desktop's keys: Return presses OK from the field
// that has the focus, Esc cancels; both close the dialog.
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
  OpenPicture(Picture("p.bmp", 6, 4));
  for (int n = 0; n < 2; ++n) Picture(base::FrameFileName("p.bmp", n), 3, 2);
  const int frames = w.settings().FrameCount;
  Trigger(c.command);
  QPointer<QDialog> dialog = w.findChild<QDialog*>();
  ASSERT_FALSE(dialog.isNull());
  ASSERT_NE(dialog->focusWidget(), nullptr);
  // The settings dialog's frame count is typed for OK to store; the animation file is named.
  if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("frameCountBox"))) {
    box->setText(QString::number(frames + 1));
  }
  prompter.savePaths.push_back(QString::fromStdString((picDir() / "a.gif").string()));
  QTest::keyClick(dialog->focusWidget(), c.key);
  WaitIdle();
  ProcessPostedEvents();
  EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
  EXPECT_TRUE(prompter.warnings.isEmpty()) << prompter.warnings.join('\n').toStdString();
  const std::string command = c.command;
  const bool done = command == "settingsAction" ? w.settings().FrameCount == frames + 1
                    : command == "htmlPageAction"
                        ? std::filesystem::exists(picDir() / "animate.htm")
                        : prompter.saveCalls == 1;
  EXPECT_EQ(done, c.accepted);
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
