// The animation-file dialog offscreen: the form, OK's refusals that keep it open without asking
// for a file, the save dialog's proposal for each format, and the order it hands over.
#include "export/animation_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <fstream>
#include <optional>

#include "base/messages.h"
#include "event_wait.h"
#include "export/export_messages.h"
#include "export/html_page.h"
#include "fake_prompter.h"
#include "image/bmp_file.h"
#include "render/run.h"
#include "test_support.h"

namespace kinetta::exporter {
namespace {

QString U(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class AnimationDialogTest : public testing::Test {
 protected:
  void TearDown() override {
    delete dialog_.data();
    test::ProcessPostedEvents();
  }
  AnimationDialog* Open() {
    dialog_ = new AnimationDialog([this] { return source_; },
                                  [this] {
                                    ++mayStartCalls_;
                                    return mayStart_;
                                  },
                                  [this](const AnimationOrder& order) {
                                    order_ = order;
                                    return startAnswer_;
                                  },
                                  ui::TwipsPerPixel{15, 15}, prompter_);
    dialog_->show();
    return dialog_;
  }
  // Frames 00 .. n-1 of cat.jpg, as a run leaves them.
  void Frames(int n) {
    for (int k = 0; k < n; ++k) {
      const std::string name = "cat0" + std::to_string(k) + ".bmp";
      ASSERT_TRUE(
          image::WriteBmp24(test::SolidPicture(4, 3, 0x102030 * (k + 1)), temp_ / name).ok());
    }
  }
  bool StillOpen() {
    test::ProcessPostedEvents();
    return !dialog_.isNull() && dialog_->isVisible();
  }

  test::TempFolder temp_;
  test::FakePrompter prompter_;
  std::string source_ = (temp_ / "cat.jpg").string();
  bool mayStart_ = true;
  int mayStartCalls_ = 0;
  bool startAnswer_ = true;
  std::optional<AnimationOrder> order_;
  QPointer<AnimationDialog> dialog_;
};

TEST_F(AnimationDialogTest, OpensWithTheDefaultTimeAndGif) {
  AnimationDialog* d = Open();
  EXPECT_EQ(d->windowTitle(), QStringLiteral("アニメーションファイル作成"));
  EXPECT_FALSE(d->isModal());
  EXPECT_EQ(d->timeLabel()->text(), QStringLiteral("ひとコマの表示秒数"));
  EXPECT_EQ(d->timeBox()->text(), QStringLiteral("0.2"));
  EXPECT_TRUE(d->formatOption(AnimationFormat::Gif)->isChecked());
  EXPECT_FALSE(d->formatOption(AnimationFormat::WebP)->isChecked());
  EXPECT_EQ(d->format(), AnimationFormat::Gif);
  EXPECT_EQ(d->okButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(d->cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  // 6090 x 5550 twips at 15 a pixel: 406 x 370; the time row and buttons as in the HTML export.
  EXPECT_EQ(d->size(), QSize(406, 370));
  EXPECT_EQ(d->minimumSize(), d->maximumSize());
  EXPECT_EQ(d->timeBox()->geometry(), QRect(120, 48, 57, 25));
  EXPECT_EQ(d->okButton()->geometry(), QRect(312, 8, 81, 25));
  EXPECT_EQ(d->cancelButton()->geometry(), QRect(312, 40, 81, 25));
  // The format row at 1200 twips: 80 pixels down, below the time box.
  EXPECT_EQ(d->formatOption(AnimationFormat::Gif)->geometry().topLeft(), QPoint(52, 80));
  // The five options in a row, each whole inside the dialog.
  const AnimationFormat order[] = {AnimationFormat::Gif, AnimationFormat::WebP,
                                   AnimationFormat::Mp4, AnimationFormat::Apng,
                                   AnimationFormat::WebM};
  const char* texts[] = {"&GIF", "&WebP", "&MP4", "&APNG", "W&ebM"};
  for (int i = 0; i < 5; ++i) {
    const QRect g = d->formatOption(order[i])->geometry();
    EXPECT_EQ(d->formatOption(order[i])->text(), QString::fromUtf8(texts[i]));
    EXPECT_EQ(g.top(), 80) << texts[i];
    EXPECT_LE(g.right(), d->width()) << texts[i];
    if (i > 0) {
      EXPECT_GT(g.left(), d->formatOption(order[i - 1])->geometry().right()) << texts[i];
    }
  }
  // The GIF's edges and the WebP's quality below the formats: own colour and lossless.
  EXPECT_FALSE(d->matteBox()->isChecked());
  EXPECT_EQ(d->webpQualityBox()->text(), QStringLiteral("可逆(劣化なし)"));
  EXPECT_EQ(d->matteBox()->geometry().top(), 140);
  EXPECT_EQ(d->webpQualityBox()->geometry().top(), 172);
  EXPECT_LE(d->matteBox()->geometry().right(), d->width());
  EXPECT_LT(d->captionLabel()->geometry().right(), d->okButton()->geometry().left());
  // The MP4's note shows only for frames on a transparent background, below the options.
  EXPECT_TRUE(d->mp4Note()->isHidden());
  d->SetTransparentBackground(true);
  EXPECT_FALSE(d->mp4Note()->isHidden());
  EXPECT_GT(d->mp4Note()->geometry().top(),
            d->formatOption(AnimationFormat::Gif)->geometry().bottom());
  EXPECT_LE(d->mp4Note()->geometry().bottom(), d->height());
  // The size row last, below the WebP's quality, and the MP4's level line below it.
  EXPECT_EQ(d->sizeBox()->geometry().top(), 204);
  EXPECT_EQ(d->levelNote()->geometry().top(), 232);
  EXPECT_LE(d->levelNote()->geometry().bottom(), d->height());
  EXPECT_TRUE(d->okButton()->isDefault());
  // The options exclude each other.
  for (const AnimationFormat f : order) {
    d->formatOption(f)->click();
    EXPECT_EQ(d->format(), f);
    for (const AnimationFormat other : order) {
      EXPECT_EQ(d->formatOption(other)->isChecked(), other == f);
    }
  }
}

// The frames' size and count, from the frames on disk: headers alone, as they are all that is
// read for the expected size.
void FrameHeaders(const test::TempFolder& folder, int count, int width, int height) {
  for (int k = 0; k < count; ++k) {
    std::ofstream out(folder / ("cat0" + std::to_string(k) + ".bmp"), std::ios::binary);
    const std::uint32_t fields[] = {
        0, 0, 0, 40, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    out << "BM";
    for (const std::uint32_t f : {fields[0], fields[1], fields[2], fields[3]}) {
      out.write(reinterpret_cast<const char*>(&f), 4);
    }
    out.write(reinterpret_cast<const char*>(&fields[4]), 4);
    out.write(reinterpret_cast<const char*>(&fields[5]), 4);
  }
}

// The size and bytes expected follow the format and the size chosen; an MP4 over level 5.1 says
// that it is made smaller, and to what. A size not offered falls back to the frames' own.
TEST_F(AnimationDialogTest, ExpectedSizeFollowsTheChoices) {
  FrameHeaders(temp_, 3, 6000, 4000);
  struct Case {
    AnimationFormat format;
    int side;
    const char* size;
    bool levelShown;
  };
  AnimationDialog* d = Open();
  for (const Case& c : {Case{AnimationFormat::Gif, 0, "6000 x 4000、約 ", false},
                        Case{AnimationFormat::Mp4, 0, "3744 x 2496、約 ", true},
                        Case{AnimationFormat::Mp4, 1920, "1920 x 1280、約 ", false},
                        Case{AnimationFormat::WebM, 480, "480 x 320、約 ", false},
                        Case{AnimationFormat::Apng, 1000, "6000 x 4000、約 ", false}}) {
    d->formatOption(c.format)->click();
    d->SetMaxSide(c.side);
    EXPECT_EQ(d->maxSide(), c.side == 1000 ? 0 : c.side);
    const QString shown = d->expectedLabel()->text();
    EXPECT_TRUE(shown.startsWith(U(c.size)) && shown.endsWith(QStringLiteral(" MB")))
        << shown.toStdString();
    EXPECT_EQ(d->levelNote()->isVisible(), c.levelShown) << c.size;
  }
  d->formatOption(AnimationFormat::Mp4)->click();
  EXPECT_EQ(d->levelNote()->text(),
            QStringLiteral("MP4 は H.264 レベル 5.1 に収まるよう 3744 x 2496 に縮小します。"));
}

struct RefusalCase {
  const char* name;
  bool picture;
  const char* time;
  int frames;
  std::string_view message;
};

class AnimationRefusalTest : public AnimationDialogTest,
                             public testing::WithParamInterface<RefusalCase> {};

// Each refusal names its cause, asks for no file, hands over nothing and keeps the dialog open.
TEST_P(AnimationRefusalTest, WarnsWithoutSaveDialog) {
  const RefusalCase& c = GetParam();
  if (!c.picture) source_.clear();
  Frames(c.frames);
  AnimationDialog* d = Open();
  d->timeBox()->setText(QString::fromUtf8(c.time));
  d->okButton()->click();
  EXPECT_EQ(prompter_.warnings, QStringList{U(c.message)});
  EXPECT_EQ(prompter_.saveCalls, 0);
  EXPECT_FALSE(order_.has_value());
  EXPECT_TRUE(StillOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AnimationRefusalTest,
    testing::Values(RefusalCase{"NoPicture", false, "0.2", 2, base::kNoSourceMessage},
                    RefusalCase{"NotANumber", true, "abc", 2, base::kNotANumberMessage},
                    RefusalCase{"Negative", true, "-1", 2, base::kTimeRangeMessage},
                    RefusalCase{"TooLong", true, "33", 2, base::kTimeRangeMessage},
                    RefusalCase{"NoFrames", true, "0.2", 0, base::kNoFramesMessage}),
    [](const testing::TestParamInfo<RefusalCase>& c) { return c.param.name; });

TEST_F(AnimationDialogTest, RefusedTimeIsSelectedForRetyping) {
  Frames(1);
  AnimationDialog* d = Open();
  d->timeBox()->setText(QStringLiteral("33"));
  d->okButton()->click();
  EXPECT_EQ(d->timeBox()->selectedText(), QStringLiteral("33"));
}

TEST_F(AnimationDialogTest, BusyWindowStopsOkBeforeTheSaveDialog) {
  Frames(1);
  mayStart_ = false;
  AnimationDialog* d = Open();
  d->okButton()->click();
  EXPECT_EQ(mayStartCalls_, 1);
  EXPECT_EQ(prompter_.saveCalls, 0);
  EXPECT_FALSE(order_.has_value());
  EXPECT_TRUE(StillOpen());
}

struct ProposalCase {
  AnimationFormat format;
  const char* proposedName;
  const char* filter;
};

class AnimationProposalTest : public AnimationDialogTest,
                              public testing::WithParamInterface<ProposalCase> {};

// The save dialog proposes the frames' base name with the format's extension; Cancel there hands
// nothing over and leaves the dialog open.
TEST_P(AnimationProposalTest, SaveDialogProposesTheBaseNameAndCancelDoesNothing) {
  const ProposalCase& c = GetParam();
  source_ = (temp_ / "cat.small.jpg").string();
  Frames(2);
  AnimationDialog* d = Open();
  d->formatOption(c.format)->click();
  d->okButton()->click();
  EXPECT_EQ(prompter_.saveCalls, 1);
  EXPECT_EQ(prompter_.saveTitle, QStringLiteral("アニメーションファイルの保存"));
  EXPECT_EQ(prompter_.saveProposed, QString::fromStdString((temp_ / c.proposedName).string()));
  EXPECT_EQ(prompter_.saveFilters, QStringList{QString::fromUtf8(c.filter)});
  EXPECT_TRUE(prompter_.warnings.empty());
  EXPECT_FALSE(order_.has_value());
  EXPECT_TRUE(StillOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AnimationProposalTest,
    testing::Values(ProposalCase{AnimationFormat::Gif, "cat.gif", "GIFアニメーション (*.gif)"},
                    ProposalCase{AnimationFormat::WebP, "cat.webp", "WebPアニメーション (*.webp)"},
                    ProposalCase{AnimationFormat::Mp4, "cat.mp4", "MP4動画 (*.mp4)"},
                    ProposalCase{AnimationFormat::Apng, "cat.png", "APNGアニメーション (*.png)"},
                    ProposalCase{AnimationFormat::WebM, "cat.webm", "WebM動画 (*.webm)"}));

TEST_F(AnimationDialogTest, ChosenFileIsHandedOverWithTheTimeAndTheDialogCloses) {
  Frames(2);
  AnimationDialog* d = Open();
  // Full-width digits and point, as a Japanese input method types them.
  d->timeBox()->setText(QStringLiteral("０．５"));
  d->formatOption(AnimationFormat::WebP)->click();
  prompter_.savePaths.push_back(QString::fromStdString((temp_ / "out" / "walk").string()));
  d->okButton()->click();
  ASSERT_TRUE(order_.has_value());
  EXPECT_EQ(order_->sourcePath, source_);
  EXPECT_EQ(order_->format, AnimationFormat::WebP);
  EXPECT_EQ(order_->target, temp_ / "out" / "walk.webp");
  EXPECT_EQ(order_->delay.webpMilliseconds, 500);
  EXPECT_EQ(order_->delay.gifCentiseconds, 50);
  EXPECT_FALSE(order_->matteOnBackground);
  EXPECT_EQ(order_->webpQuality, std::nullopt);
  EXPECT_EQ(order_->maxSide, 0);
  EXPECT_TRUE(prompter_.warnings.empty());
  EXPECT_FALSE(StillOpen());

  // The other choices of the GIF's edges and the WebP's quality.
  d = Open();
  d->matteBox()->click();
  d->webpQualityBox()->setValue(80);
  d->sizeBox()->setCurrentIndex(d->sizeBox()->findData(720));
  prompter_.savePaths.push_back(QString::fromStdString((temp_ / "out" / "walk").string()));
  d->okButton()->click();
  EXPECT_TRUE(order_->matteOnBackground);
  EXPECT_EQ(order_->webpQuality, 80);
  EXPECT_EQ(order_->maxSide, 720);
}

struct UseCase {
  const char* target;
  AnimationFormat format;
  const char* file;
};

class AnimationUseTest : public AnimationDialogTest, public testing::WithParamInterface<UseCase> {};

// A target as the use: its rules shown, its format chosen and the other choices disabled, the
// save dialog's name with its extension, the target handed over; 汎用 gives the choices back.
TEST_P(AnimationUseTest, TargetChoosesTheFormatAndDisablesWhatDoesNotApply) {
  const UseCase& c = GetParam();
  Frames(2);
  AnimationDialog* d = Open();
  EXPECT_EQ(d->useBox()->currentText(), QStringLiteral("汎用"));
  EXPECT_EQ(d->stickerTarget(), nullptr);
  d->formatOption(AnimationFormat::Mp4)->click();
  const StickerTarget* target = FindStickerTarget(c.target);
  d->useBox()->setCurrentIndex(static_cast<int>(target - kStickerTargets.data()) + 1);
  EXPECT_EQ(d->stickerTarget(), target);
  EXPECT_EQ(d->useBox()->currentText(), U(StickerTargetTitle(target->id)));
  EXPECT_EQ(d->useRulesLabel()->text().toStdString(), StickerRulesLine(*target));
  EXPECT_EQ(d->format(), c.format);
  for (const AnimationFormat f : {AnimationFormat::Gif, AnimationFormat::WebP, AnimationFormat::Mp4,
                                  AnimationFormat::Apng, AnimationFormat::WebM}) {
    EXPECT_FALSE(d->formatOption(f)->isEnabled());
  }
  EXPECT_FALSE(d->matteBox()->isEnabled());
  EXPECT_FALSE(d->webpQualityBox()->isEnabled());
  prompter_.savePaths.push_back(QString::fromStdString((temp_ / "sticker").string()));
  d->okButton()->click();
  EXPECT_EQ(prompter_.saveProposed, QString::fromStdString((temp_ / c.file).string()));
  ASSERT_TRUE(order_.has_value());
  EXPECT_EQ(order_->sticker, target);
  EXPECT_EQ(order_->format, c.format);
  EXPECT_EQ(order_->target.extension(), std::filesystem::path(c.file).extension());

  d = Open();
  d->useBox()->setCurrentIndex(static_cast<int>(target - kStickerTargets.data()) + 1);
  d->useBox()->setCurrentIndex(0);
  EXPECT_TRUE(d->useRulesLabel()->text().isEmpty());
  EXPECT_TRUE(d->formatOption(AnimationFormat::Gif)->isEnabled());
  EXPECT_TRUE(d->webpQualityBox()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Targets, AnimationUseTest,
                         testing::Values(UseCase{"telegram", AnimationFormat::WebM, "cat.webm"},
                                         UseCase{"line", AnimationFormat::Apng, "cat.png"},
                                         UseCase{"slack", AnimationFormat::Gif, "cat.gif"}));

TEST_F(AnimationDialogTest, RefusedStartKeepsTheDialogOpen) {
  Frames(1);
  startAnswer_ = false;
  AnimationDialog* d = Open();
  prompter_.savePaths.push_back(QString::fromStdString((temp_ / "cat.gif").string()));
  d->okButton()->click();
  ASSERT_TRUE(order_.has_value());
  EXPECT_TRUE(StillOpen());
}

// A GIF source chosen as the file to save over: warned, nothing started, the dialog stays.
TEST_F(AnimationDialogTest, SourceChosenAsTheFileIsRefused) {
  source_ = (temp_ / "cat.gif").string();
  Frames(1);
  std::ofstream(source_) << "picture";
  AnimationDialog* d = Open();
  prompter_.savePaths.push_back(QString::fromStdString(source_));
  d->okButton()->click();
  EXPECT_FALSE(order_.has_value());
  ASSERT_EQ(prompter_.warnings.size(), 1u);
  EXPECT_TRUE(prompter_.warnings[0].contains(QStringLiteral("は原画です。")));
  EXPECT_TRUE(StillOpen());
}

TEST_F(AnimationDialogTest, CancelCloses) {
  AnimationDialog* d = Open();
  d->cancelButton()->click();
  EXPECT_FALSE(StillOpen());
  EXPECT_EQ(prompter_.saveCalls, 0);
  EXPECT_FALSE(order_.has_value());
}

struct ExtensionCase {
  const char* typed;
  AnimationFormat format;
  const char* written;
};

TEST(AnimationExtensionTest, NameGetsTheFormatsExtensionUnlessItEndsWithIt) {
  const ExtensionCase cases[] = {
      {"/p/anim", AnimationFormat::Gif, "/p/anim.gif"},
      {"/p/anim.gif", AnimationFormat::Gif, "/p/anim.gif"},
      {"/p/anim.GIF", AnimationFormat::Gif, "/p/anim.GIF"},
      {"/p/anim.webp", AnimationFormat::Gif, "/p/anim.webp.gif"},  // the format decides
      {"/p/my.anim", AnimationFormat::WebP, "/p/my.anim.webp"},
      {"/p/anim.WebP", AnimationFormat::WebP, "/p/anim.WebP"},
  };
  for (const ExtensionCase& c : cases) {
    EXPECT_EQ(WithAnimationExtension(QString::fromUtf8(c.typed), c.format),
              QString::fromUtf8(c.written))
        << c.typed;
  }
}

}  // namespace
}  // namespace kinetta::exporter
