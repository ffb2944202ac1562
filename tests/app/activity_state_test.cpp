// What Execute and Preview do while the program is idle, converting or previewing, and which
// changes of activity are allowed.
#include "app/activity_state.h"

#include <gtest/gtest.h>

namespace kinetta::app {
namespace {

struct VerdictCase {
  Activity activity;
  ExecuteVerdict execute;
  PreviewVerdict preview;
};

class ActivityVerdictTest : public testing::TestWithParam<VerdictCase> {};

TEST_P(ActivityVerdictTest, CommandsAnswerByActivity) {
  const VerdictCase c = GetParam();
  ActivityState state;
  if (c.activity != Activity::Idle) {
    ASSERT_TRUE(state.Begin(c.activity));
  }
  EXPECT_EQ(state.OnExecute(), c.execute);
  EXPECT_EQ(state.OnPreview(), c.preview);
}

INSTANTIATE_TEST_SUITE_P(
    All, ActivityVerdictTest,
    testing::Values(
        VerdictCase{Activity::Idle, ExecuteVerdict::Start, PreviewVerdict::Start},
        // A run in progress: a second Execute is ignored, Preview is refused with a message.
        VerdictCase{Activity::Converting, ExecuteVerdict::IgnoreConverting,
                    PreviewVerdict::RefuseConverting},
        // A preview playing: Execute is refused with a message, a second Preview is ignored.
        VerdictCase{Activity::Previewing, ExecuteVerdict::RefusePreviewing,
                    PreviewVerdict::IgnorePreviewing}));

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

}  // namespace
}  // namespace kinetta::app
