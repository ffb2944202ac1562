// The HTML export dialog offscreen: the form as designed, OK's refusals that keep it open, and a
// good OK that writes the page and closes it.
#include "export/export_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "base/messages.h"
#include "base/path_helpers.h"
#include "event_wait.h"
#include "export/html_page.h"
#include "fake_prompter.h"
#include "image/bmp_file.h"
#include "test_support.h"

namespace kinetta::exporter {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ExportDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(temp_ / "app" / "sample");
    std::filesystem::create_directories(temp_ / "pics");
    std::ofstream(temp_ / "app" / "sample" / "vorrel.class") << "applet";
    std::ofstream(temp_ / "app" / "sample" / "vorrel.js") << "script";
  }
  void TearDown() override {
    delete dialog_.data();
    test::ProcessPostedEvents();
    // The dialog only ever warns.
    EXPECT_TRUE(prompter_.informs.isEmpty()) << prompter_.informs.join('\n').toStdString();
    EXPECT_TRUE(prompter_.questions.isEmpty()) << prompter_.questions.join('\n').toStdString();
  }
  // The dialog as the main window opens it, at 15 twips per pixel unless told otherwise.
  ExportDialog* Open(ui::TwipsPerPixel twipsPerPixel = {15, 15}) {
    dialog_ = new ExportDialog([this] { return source_; },
                               QString::fromStdString((temp_ / "app").string()), twipsPerPixel,
                               prompter_);
    dialog_->show();
    return dialog_;
  }
  std::filesystem::path Page() const { return temp_ / "pics" / "animate.htm"; }
  // `count` frames of 32 x 24 beside the source picture.
  void WriteFrames(int count) {
    for (int n = 0; n < count; ++n) {
      ASSERT_TRUE(image::WriteBmp24(render::Surface(32, 24), base::FrameFileName(source_, n)).ok());
    }
  }

  test::TempFolder temp_;
  test::FakePrompter prompter_;
  std::string source_ = (temp_ / "pics" / "cat.jpg").string();
  QPointer<ExportDialog> dialog_;
};

TEST_F(ExportDialogTest, OpensAsDesignedWithTheDefaultTime) {
  ExportDialog* d = Open();
  EXPECT_EQ(d->windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"));
  EXPECT_FALSE(d->isModal());
  EXPECT_EQ(d->timeBox()->text(), QStringLiteral("0.2"));
  EXPECT_EQ(d->captionLabel()->text(),
            QStringLiteral("アニメーション表示用HTMLファイルを作成します。"));
  EXPECT_EQ(d->timeLabel()->text(), QStringLiteral("ひとコマの表示秒数"));
  EXPECT_EQ(d->okButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(d->cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  // 6090 x 1275 twips at 15 per pixel: 406 x 85.
  EXPECT_EQ(d->size(), QSize(406, 85));
  EXPECT_EQ(d->minimumSize(), d->maximumSize());
  // The caption label 120, 120, 4092 x 372 twips: 8, 8, 272.8 -> 273 x 24.8 -> 25; it may grow to
  // the right to keep its sentence on one line, but not into the buttons.
  const QRect label = d->captionLabel()->geometry();
  EXPECT_EQ(label.topLeft(), QPoint(8, 8));
  EXPECT_EQ(label.height(), 25);
  EXPECT_GE(label.width(), 273);
  EXPECT_GE(label.width(), d->captionLabel()->sizeHint().width());
  EXPECT_LT(label.right(), 312);
  EXPECT_FALSE(d->captionLabel()->wordWrap());
  EXPECT_EQ(d->timeBox()->geometry(), QRect(120, 48, 57, 25));
  EXPECT_EQ(d->okButton()->geometry(), QRect(312, 8, 81, 25));
  EXPECT_EQ(d->cancelButton()->geometry(), QRect(312, 40, 81, 25));
  EXPECT_TRUE(d->okButton()->isDefault());
}

TEST_F(ExportDialogTest, GeometryRoundsHalvesToEven) {
  // 12 twips per pixel across, 20 down: 6090 / 12 = 507.5 -> 508, 1275 / 20 = 63.75 -> 64;
  // The time label's width 1692 / 12 = 141; the time box's left 1800 / 12 = 150, top 720 / 20 = 36.
  ExportDialog* d = Open({12, 20});
  EXPECT_EQ(d->size(), QSize(508, 64));
  EXPECT_EQ(d->timeLabel()->geometry(), QRect(10, 36, 141, 19));
  EXPECT_EQ(d->timeBox()->geometry().topLeft(), QPoint(150, 36));
}

TEST_F(ExportDialogTest, OkWithoutSourcePictureWarnsAndStaysOpen) {
  source_.clear();
  ExportDialog* d = Open();
  d->okButton()->click();
  test::ProcessPostedEvents();
  ASSERT_FALSE(dialog_.isNull());
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(prompter_.warnings, QStringList{QStringLiteral("原画を先に開いてください。")});
  EXPECT_FALSE(std::filesystem::exists(Page()));
}

TEST_F(ExportDialogTest, RefusedTimesWarnAndStayOpen) {
  ExportDialog* d = Open();
  for (const char* text : {"abc", "-1", "33"}) {
    d->timeBox()->setText(QString::fromUtf8(text));
    d->okButton()->click();
  }
  test::ProcessPostedEvents();
  ASSERT_FALSE(dialog_.isNull());
  EXPECT_TRUE(d->isVisible());
  const QString notANumber = QString::fromUtf8(base::kNotANumberMessage.data());
  const QString range = QString::fromUtf8(base::kTimeRangeMessage.data());
  EXPECT_EQ(prompter_.warnings, (QStringList{notANumber, range, range}));
  EXPECT_EQ(d->timeBox()->selectedText(), QStringLiteral("33"));
  EXPECT_FALSE(std::filesystem::exists(Page()));
}

TEST_F(ExportDialogTest, GoodOkWritesThePageAndCloses) {
  ExportDialog* d = Open();
  d->okButton()->click();  // no frames on the disk yet: said, and no page
  EXPECT_EQ(prompter_.warnings, QStringList{QString::fromUtf8(base::kNoFramesMessage.data())});
  EXPECT_FALSE(std::filesystem::exists(Page()));
  prompter_.warnings.clear();
  WriteFrames(12);  // found when OK is pressed, not when the dialog opened
  // Full-width digits and point with an ideographic space, as a Japanese input method types them.
  d->timeBox()->setText(QString::fromUtf8("\xE3\x80\x80１．５"));
  d->okButton()->click();
  test::ProcessPostedEvents();
  EXPECT_TRUE(dialog_.isNull());
  EXPECT_TRUE(prompter_.warnings.isEmpty()) << prompter_.warnings.join('\n').toStdString();
  EXPECT_EQ(ReadAll(Page()), PageText({32, 24, 12, "cat", 1500}));
  EXPECT_EQ(ReadAll(temp_ / "pics" / "vorrel.js"), "script");
}

TEST_F(ExportDialogTest, PageThatCannotBeWrittenIsReportedAndTheDialogStays) {
  WriteFrames(2);
  std::filesystem::create_directories(Page());  // a folder where the page would go
  ExportDialog* d = Open();
  d->okButton()->click();
  test::ProcessPostedEvents();
  ASSERT_FALSE(dialog_.isNull());
  EXPECT_TRUE(d->isVisible());
  ASSERT_EQ(prompter_.warnings.size(), 1);
  EXPECT_TRUE(prompter_.warnings[0].startsWith(QString::fromUtf8(base::kPageFailedMessage.data())));
  EXPECT_TRUE(prompter_.warnings[0].contains(QString::fromStdString(Page().string())));
}

// The folder's page plays another picture's frames: replace it (0), write cat_animate.htm (1)
// or nothing (2). The page of the same picture is replaced without a question.
struct OtherPageCase {
  const char* playing;  // File1 of the page already there
  int choice;           // the button pressed, if asked
  const char* written;  // the page written for cat, or "" for none
};

class OtherPageTest : public ExportDialogTest, public testing::WithParamInterface<OtherPageCase> {};

TEST_P(OtherPageTest, AsksBeforeReplacingAnotherPicturesPage) {
  const OtherPageCase& c = GetParam();
  WriteFrames(3);
  const std::string before = PageText({10, 10, 4, c.playing, 200}), written = c.written;
  std::ofstream(Page(), std::ios::binary) << before;
  prompter_.choices = {c.choice};
  Open()->okButton()->click();
  test::ProcessPostedEvents();
  const QStringList buttons{QStringLiteral("置き換える(&R)"),
                            QStringLiteral("cat_animate.htm に書く"), QStringLiteral("ｷｬﾝｾﾙ")};
  EXPECT_EQ(prompter_.choiceButtons.value(0),
            std::string(c.playing) == "cat" ? QStringList() : buttons);
  const std::string page = PageText({32, 24, 3, "cat", 200});
  EXPECT_EQ(ReadAll(Page()), written == "animate.htm" ? page : before);
  EXPECT_EQ(ReadAll(temp_ / "pics" / "cat_animate.htm"), written == "cat_animate.htm" ? page : "");
  prompter_.questions.clear();
}

INSTANTIATE_TEST_SUITE_P(Choices, OtherPageTest,
                         testing::Values(OtherPageCase{"dog", 0, "animate.htm"},
                                         OtherPageCase{"dog", 1, "cat_animate.htm"},
                                         OtherPageCase{"dog", 2, ""},
                                         OtherPageCase{"cat", 2, "animate.htm"}));

}  // namespace
}  // namespace kinetta::exporter
