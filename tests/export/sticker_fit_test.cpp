// Fitting frames to a GIF sticker target: the file written passes the target's rules as giflib
// reads it back here, its reported PSNR is the frames' as decoded, and it is as good as the
// limit allows (every colour and frame when they fit); the scaler's weighted means by hand.
#include "export/sticker_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "animation_decoder.h"
#include "animation_test_frames.h"
#include "render/transparency.h"

namespace kinetta::exporter {
namespace {

struct FitCase {
  const char* label;
  const char* target;
  std::vector<Surface> frames;
  bool everything;  ///< every frame and colour fits
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.target << ": " << c.label; }

class StickerFitTest : public testing::TestWithParam<FitCase> {};

TEST_P(StickerFitTest, WritesAFilePassingEveryRuleAtTheBestQualityThatFits) {
  const FitCase& c = GetParam();
  test::TempFolder folder;
  StickerRequest request;
  request.target = FindStickerTarget(c.target);
  request.frameCount = static_cast<int>(c.frames.size());
  request.delayMs = 100;
  request.file = folder / "sticker.gif";
  const base::Result<StickerFit> fit = FitSticker(ReaderOf(c.frames), request);
  ASSERT_TRUE(fit.ok()) << fit.message();

  const test::DecodedAnimation d = test::DecodeGif(request.file);
  ASSERT_TRUE(d.ok) << d.error;
  const StickerTarget& t = *request.target;
  EXPECT_LE(d.width, t.maxWidth);
  EXPECT_LE(d.height, t.maxHeight);
  EXPECT_EQ(std::max(d.width, d.height), 128);  // scaled down to the box, proportions kept
  EXPECT_LE(fs::file_size(request.file), t.maxBytes);
  EXPECT_TRUE(t.maxFrames == 0 || static_cast<int>(d.frames.size()) <= t.maxFrames);
  EXPECT_EQ(static_cast<int>(d.frames.size()), fit.value().measure.frames);
  EXPECT_EQ(d.loopCount, 0);
  EXPECT_TRUE(AllPass(fit.value().rules));

  // The PSNR told is the file's as decoded, against the frames scaled with nothing left out.
  const StickerPlan plan = PlanSticker(t, c.frames[0].width(), c.frames[0].height(),
                                       request.frameCount, request.delayMs);
  std::vector<Surface> wanted, shown;
  const int step = fit.value().frameStep;
  for (int k = 0; k < plan.frames && k / step < static_cast<int>(d.frames.size()); ++k) {
    const int source = PlannedSourceFrame(request.frameCount, plan.frames, k);
    wanted.push_back(ScaleIntoPlan(c.frames[static_cast<std::size_t>(source)], plan));
    shown.push_back(d.frames[static_cast<std::size_t>(k / step)]);
  }
  const double psnr = test::Psnr(shown, wanted);
  if (c.everything) {
    EXPECT_EQ(fit.value().plan.frames, plan.frames);
    EXPECT_EQ(fit.value().colourBits, 8);
  } else {
    EXPECT_TRUE(fit.value().plan.frames < plan.frames || fit.value().colourBits < 8);
  }
  EXPECT_TRUE(std::isinf(psnr) ? std::isinf(fit.value().psnr)
                               : std::abs(psnr - fit.value().psnr) < 0.01)
      << psnr << " told " << fit.value().psnr;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, StickerFitTest,
    testing::Values(FitCase{"blocks", "discord-emoji", Frames(BlockPicture(200, 150), 0, 6), true},
                    FitCase{"blocks, 80 frames", "slack", Frames(BlockPicture(64, 160), 4, 80),
                            true},
                    FitCase{"noise", "slack", NoiseFrames(256, 200, 12, 11), false},
                    FitCase{"noise", "discord-emoji", NoiseFrames(300, 300, 24, 11), false}));

TEST(StickerFit, NoFramesNoFileForEveryKindOfTarget) {
  test::TempFolder folder;
  StickerRequest request;
  request.frameCount = 2;
  request.file = folder / "sticker";
  for (const char* name : {"slack", "line", "line-tab", "telegram"}) {
    request.target = FindStickerTarget(name);
    EXPECT_EQ(FitSticker(ReaderOf({}), request).cause(), base::Cause::NotFound) << name;
  }
  EXPECT_FALSE(fs::exists(request.file));
}

// Worked by hand: a 4 x 2 frame into a 2 x 1 picture, each pixel the mean of a 2 x 2 block, a
// clear pixel adding nothing to the colour and a quarter less opacity; around it, clear.
TEST(StickerFit, ScalesByAreaWeightedByOpacity) {
  Surface frame(4, 2, render::Compose(200, 0, 0));
  frame.Row(0)[2] = static_cast<std::uint32_t>(render::kClear);
  frame.PSet(0, 1, render::Compose(0, 0, 100));
  StickerPlan plan;
  plan.width = 3;
  plan.height = 2;
  plan.pictureWidth = 2;
  plan.pictureHeight = 1;
  plan.left = 1;
  plan.top = 1;
  const Surface out = ScaleIntoPlan(frame, plan);
  EXPECT_EQ(out.Point(1, 1), render::Compose(150, 0, 25));
  EXPECT_EQ(out.Point(2, 1), render::WithOpacity(render::Compose(200, 0, 0), 191));
  for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {0, 1}}) {
    EXPECT_EQ(out.Point(x, y), render::kClear) << x << "," << y;
  }
}

}  // namespace
}  // namespace kinetta::exporter
