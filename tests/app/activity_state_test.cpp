// What Execute, Preview and the animation-file command do while the program is idle, converting,
// previewing or making an animation file, and which changes of activity are allowed.
#include "app/activity_state.h"

#include <gtest/gtest.h>

#include <string_view>

namespace kinetta::app {
namespace {

struct VerdictCase {
  Activity activity;
  Verdict execute;    ///< a run
  Verdict preview;    ///< a preview
  Verdict animation;  ///< an animation file
  std::string_view busyMessage;
};

class ActivityVerdictTest : public testing::TestWithParam<VerdictCase> {};

TEST_P(ActivityVerdictTest, CommandsAnswerByActivity) {
  const VerdictCase c = GetParam();
  ActivityState state;
  if (c.activity != Activity::Idle) {
    ASSERT_TRUE(state.Begin(c.activity));
  }
  EXPECT_EQ(state.OnStart(Activity::Converting), c.execute);
  EXPECT_EQ(state.OnStart(Activity::Previewing), c.preview);
  EXPECT_EQ(state.OnStart(Activity::MakingAnimation), c.animation);
  EXPECT_EQ(state.BusyMessage(), c.busyMessage);
}

INSTANTIATE_TEST_SUITE_P(
    All, ActivityVerdictTest,
    testing::Values(VerdictCase{Activity::Idle, Verdict::Start, Verdict::Start, Verdict::Start, ""},
                    // A run in progress: a second Execute is ignored, Preview and the animation
                    // file are refused with a message (the frames are still being written).
                    VerdictCase{Activity::Converting, Verdict::Ignore, Verdict::Refuse,
                                Verdict::Refuse, "アニメーション変換中です"},
                    // A preview playing: Execute and the animation file are refused with a message,
                    // a second Preview is ignored.
                    VerdictCase{Activity::Previewing, Verdict::Refuse, Verdict::Ignore,
                                Verdict::Refuse, "プレビュー中です"},
                    // A file being made: a run would overwrite its frames and a preview would share
                    // its abort button, so both are refused; a second animation command is ignored.
                    VerdictCase{Activity::MakingAnimation, Verdict::Refuse, Verdict::Refuse,
                                Verdict::Ignore, "アニメーションファイル作成中です"}));

TEST(ActivityStateTest, OnlyAnIdleProgramStartsSomething) {
  ActivityState state;
  EXPECT_FALSE(state.Begin(Activity::Idle));
  ASSERT_TRUE(state.Begin(Activity::Converting));
  EXPECT_FALSE(state.Begin(Activity::Converting));
  EXPECT_FALSE(state.Begin(Activity::Previewing));
  EXPECT_EQ(state.current(), Activity::Converting);
}

TEST(ActivityStateTest, EndingAnotherActivityChangesNothing) {
  ActivityState state;
  EXPECT_FALSE(state.End(Activity::Converting));
  ASSERT_TRUE(state.Begin(Activity::Previewing));
  EXPECT_FALSE(state.End(Activity::Converting));
  EXPECT_FALSE(state.End(Activity::Idle));
  EXPECT_EQ(state.current(), Activity::Previewing);
  EXPECT_TRUE(state.End(Activity::Previewing));
  EXPECT_EQ(state.current(), Activity::Idle);
  // Once idle again, either activity may start.
  EXPECT_TRUE(state.Begin(Activity::Converting));
}

TEST(ActivityStateTest, MakingAnAnimationFileExcludesTheOtherActivities) {
  ActivityState state;
  ASSERT_TRUE(state.Begin(Activity::MakingAnimation));
  EXPECT_FALSE(state.Begin(Activity::MakingAnimation));
  EXPECT_FALSE(state.Begin(Activity::Converting));
  EXPECT_FALSE(state.Begin(Activity::Previewing));
  EXPECT_FALSE(state.End(Activity::Converting));
  EXPECT_EQ(state.current(), Activity::MakingAnimation);
  EXPECT_TRUE(state.End(Activity::MakingAnimation));
  EXPECT_TRUE(state.Begin(Activity::Previewing));
  EXPECT_FALSE(state.Begin(Activity::MakingAnimation));
}

}  // namespace
}  // namespace kinetta::app
