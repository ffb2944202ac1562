// The plan that fits a run's frames to a sticker target: sizes and timings worked out by hand for
// each target, and every plan over a spread of pictures and loops meeting its target's rules.
#include "export/sticker_targets.h"

#include <gtest/gtest.h>

#include "export/sticker_check.h"

namespace kinetta::exporter {
namespace {

struct PlanCase {
  const char* target;
  int width, height, frames, delayMs;
  StickerPlan expected;
};

void PrintTo(const PlanCase& c, std::ostream* os) {
  *os << c.target << " " << c.width << "x" << c.height << " " << c.frames << "x" << c.delayMs
      << "ms";
}

class PlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, SizeFramesDelayAndPlays) {
  const PlanCase& c = GetParam();
  const StickerPlan p =
      PlanSticker(*FindStickerTarget(c.target), c.width, c.height, c.frames, c.delayMs);
  const StickerPlan& e = c.expected;
  EXPECT_EQ((std::array{p.width, p.height, p.pictureWidth, p.pictureHeight, p.left, p.top}),
            (std::array{e.width, e.height, e.pictureWidth, e.pictureHeight, e.left, e.top}));
  EXPECT_EQ((std::array{p.frames, p.delayMs, p.plays}), (std::array{e.frames, e.delayMs, e.plays}));
}

// {width, height, picture width, picture height, left, top, frames, delay, plays}
INSTANTIATE_TEST_SUITE_P(
    Targets, PlanTest,
    testing::Values(
        // 4.8 s is cut to LINE's 4 s of 20 frames, played once; wide: 320 across.
        PlanCase{"line", 300, 200, 24, 200, {320, 213, 320, 213, 0, 0, 20, 200, 1}},
        // Tall: exactly 270 high; a loop of 0.5 s plays the most times, 4.
        PlanCase{"line", 100, 300, 5, 100, {90, 270, 90, 270, 0, 0, 5, 100, 4}},
        // Fewer frames than LINE's 5: five frames over the same 0.6 s, enlarged.
        PlanCase{"line", 40, 30, 3, 200, {320, 240, 320, 240, 0, 0, 5, 120, 4}},
        PlanCase{"line", 1000, 1, 1, 100, {320, 1, 320, 1, 0, 0, 5, 20, 4}},
        // Fixed squares and the tab's 96 x 74: centred, the rest transparent.
        PlanCase{"line-main", 300, 200, 24, 200, {240, 240, 240, 160, 0, 40, 20, 200, 1}},
        PlanCase{"line-tab", 400, 400, 10, 100, {96, 74, 74, 74, 11, 0, 1, 1000, 0}},
        PlanCase{"discord", 100, 50, 8, 200, {320, 320, 320, 160, 0, 80, 8, 200, 0}},
        // 50 frames a second is past Telegram's 30: 70 frames of 34 ms over the 2.4 s loop.
        PlanCase{"telegram", 300, 200, 120, 20, {512, 341, 512, 341, 0, 0, 70, 34, 0}},
        PlanCase{"telegram", 600, 600, 10, 500, {512, 512, 512, 512, 0, 0, 10, 300, 0}},
        // Slack's 50 frames in 0.8 s would be shorter than a GIF's 20 ms: 40 frames of 20 ms.
        PlanCase{"slack", 300, 200, 80, 10, {128, 85, 128, 85, 0, 0, 40, 20, 0}},
        // A small emoji is not enlarged; 125 ms becomes a GIF's 130 ms.
        PlanCase{"discord-emoji", 64, 48, 6, 125, {64, 48, 64, 48, 0, 0, 6, 130, 0}}));

// Whatever the picture and the loop, the planned file meets the target's rules.
TEST(StickerPlan, EveryPlanMeetsItsTargetsRules) {
  const int sizes[][2] = {{1, 1}, {6000, 4000}, {1, 5000}, {300, 200}, {128, 128}, {97, 75}};
  for (const StickerTarget& t : kStickerTargets) {
    for (const auto& size : sizes) {
      for (int frames : {1, 3, 24, 200}) {
        for (int delay : {1, 10, 200, 2000}) {
          const StickerPlan p = PlanSticker(t, size[0], size[1], frames, delay);
          StickerMeasure m;
          m.container = t.container;
          m.codec = t.codec;
          m.width = p.width;
          m.height = p.height;
          m.frames = p.frames;
          m.plays = p.plays;
          m.loopSeconds = p.frames * p.delayMs / 1000.0;
          m.transparency = true;
          for (const RuleOutcome& o : CheckSticker(t, m)) {
            EXPECT_EQ(o.verdict, RuleVerdict::Pass)
                << t.name << " " << size[0] << "x" << size[1] << " " << frames << "x" << delay
                << "ms: rule " << static_cast<int>(o.rule);
          }
          EXPECT_LE(p.pictureWidth + p.left, p.width);
          EXPECT_LE(p.pictureHeight + p.top, p.height);
          EXPECT_TRUE(t.container != StickerContainer::Gif || p.delayMs % 10 == 0) << p.delayMs;
        }
      }
    }
  }
}

TEST(StickerPlan, FramesPickedEvenlyThroughTheLoopAndRunsPlanned) {
  EXPECT_EQ(PlannedSourceFrame(24, 12, 5), 10);
  EXPECT_EQ(PlannedSourceFrame(24, 20, 19), 22);
  EXPECT_EQ(PlannedSourceFrame(3, 5, 4), 2);  // more frames than the loop: some shown twice
  base::Settings s;
  s.ShapeIndex = 0;  // the plane: frames as tall as the picture
  s.WidthMode = 2;
  s.WidthValue = 90;
  s.FrameCount = 6;
  const std::optional<StickerPlan> p =
      PlanStickerForRun(*FindStickerTarget("discord-emoji"), s, 50, 30, 200);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ((std::array{p->width, p->height, p->frames}), (std::array{90, 30, 6}));
  s.FrameCount = 0;
  EXPECT_FALSE(PlanStickerForRun(*FindStickerTarget("line"), s, 50, 30, 200).has_value());
}

}  // namespace
}  // namespace kinetta::exporter
