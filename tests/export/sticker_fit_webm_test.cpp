// Fitting frames to the WebM target: the file written passes every rule as FFmpeg's libraries
// read it back here (VP9, one side 512, the seconds, the rate, the opacity, no audio, the
// bytes), for a transparent drawing, an opaque run and noise that needs a lower bitrate; its
// reported PSNR is the frames' as decoded.
#include <gtest/gtest.h>

#include <cmath>

#include "animation_test_frames.h"
#include "export/sticker_fit.h"
#include "render/transparency.h"
#include "video_decoder.h"

namespace kinetta::exporter {
namespace {

// A square crossing a clear picture, one step a frame.
std::vector<Surface> ClearFrames(int count) {
  std::vector<Surface> frames;
  for (int k = 0; k < count; ++k) {
    Surface s(120, 90, render::kClear);
    for (int y = 30; y < 60; ++y) {
      for (int x = 0; x < 30; ++x) s.PSet((x + 3 * k) % 120, y, render::Compose(230, 90, 20));
    }
    frames.push_back(std::move(s));
  }
  return frames;
}

struct WebmCase {
  const char* label;
  std::vector<Surface> frames;
  int delayMs;
  bool clear;  ///< the frames have clear pixels (the corner among them)
  bool busy;   ///< the frames need every byte: the file fills most of the limit
};

void PrintTo(const WebmCase& c, std::ostream* os) { *os << c.label; }

class StickerFitWebmTest : public testing::TestWithParam<WebmCase> {};

TEST_P(StickerFitWebmTest, WritesAVp9FilePassingEveryRule) {
  const WebmCase& c = GetParam();
  test::TempFolder folder;
  StickerRequest request;
  request.target = FindStickerTarget("telegram");
  request.frameCount = static_cast<int>(c.frames.size());
  request.delayMs = c.delayMs;
  request.file = folder / "sticker.webm";
  const base::Result<StickerFit> fit = FitSticker(ReaderOf(c.frames), request);
  ASSERT_TRUE(fit.ok()) << fit.message();
  EXPECT_TRUE(AllPass(fit.value().rules));

  const test::DecodedVideo d = test::DecodeVideo(request.file);
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.codec, "vp9");
  EXPECT_EQ(std::max(d.width, d.height), 512);
  EXPECT_LE(std::min(d.width, d.height), 512);
  EXPECT_EQ(d.audioStreams, 0);
  EXPECT_LE(fs::file_size(request.file), 256 * kKiB);
  EXPECT_EQ(fs::file_size(request.file), fit.value().measure.bytes);
  if (c.busy) {
    EXPECT_GE(fs::file_size(request.file), 200 * kKiB);
  }
  ASSERT_EQ(static_cast<int>(d.frames.size()), fit.value().measure.frames);
  int milliseconds = 0;
  for (const int delay : d.delays) milliseconds += delay;
  EXPECT_GT(milliseconds, 0);
  EXPECT_LE(milliseconds, 3000);
  EXPECT_LE(d.frameRateNum, 30 * d.frameRateDen);
  EXPECT_EQ(render::OpacityOf(d.frames[0].Point(0, 0)), c.clear ? 0 : 255);

  // The PSNR told is the file's as decoded, against the frames the plan picks, scaled; both
  // laid over black, so that a clear pixel counts as its colour there.
  const StickerPlan& plan = fit.value().plan;
  const auto overBlack = [](Surface s) {
    for (int y = 0; y < s.height(); ++y) {
      for (int x = 0; x < s.width(); ++x) s.PSet(x, y, render::Over(s.Point(x, y), 0));
    }
    return s;
  };
  std::vector<Surface> wanted, shown;
  for (int k = 0; k < plan.frames; ++k) {
    const int source = PlannedSourceFrame(request.frameCount, plan.frames, k);
    wanted.push_back(overBlack(ScaleIntoPlan(c.frames[static_cast<std::size_t>(source)], plan)));
    shown.push_back(overBlack(d.frames[static_cast<std::size_t>(k)]));
  }
  EXPECT_NEAR(fit.value().psnr, test::Psnr(shown, wanted), 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Telegram, StickerFitWebmTest,
    testing::Values(WebmCase{"clear drawing", ClearFrames(40), 100, true, false},
                    WebmCase{"opaque flag", Frames(BlockPicture(160, 120), 4, 24), 200, false,
                             false},
                    // 4 s made 3: 150 ms a frame, which no whole number of frames a second gives.
                    WebmCase{"noise", NoiseFrames(96, 96, 20, 5), 200, false, true}));

}  // namespace
}  // namespace kinetta::exporter
