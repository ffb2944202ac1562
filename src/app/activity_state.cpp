// The rules of what Execute, Preview and the animation-file command do while the program is busy.
#include "app/activity_state.h"

namespace kinetta::app {

ExecuteVerdict ActivityState::OnExecute() const {
  switch (current_) {
    case Activity::Converting:
      return ExecuteVerdict::IgnoreConverting;
    case Activity::Previewing:
      return ExecuteVerdict::RefusePreviewing;
    case Activity::MakingAnimation:
      return ExecuteVerdict::RefuseMakingAnimation;
    case Activity::Idle:
      break;
  }
  return ExecuteVerdict::Start;
}

PreviewVerdict ActivityState::OnPreview() const {
  switch (current_) {
    case Activity::Converting:
      return PreviewVerdict::RefuseConverting;
    case Activity::Previewing:
      return PreviewVerdict::IgnorePreviewing;
    case Activity::MakingAnimation:
      return PreviewVerdict::RefuseMakingAnimation;
    case Activity::Idle:
      break;
  }
  return PreviewVerdict::Start;
}

AnimationVerdict ActivityState::OnAnimation() const {
  switch (current_) {
    case Activity::Converting:
      return AnimationVerdict::RefuseConverting;
    case Activity::Previewing:
      return AnimationVerdict::RefusePreviewing;
    case Activity::MakingAnimation:
      return AnimationVerdict::IgnoreMaking;
    case Activity::Idle:
      break;
  }
  return AnimationVerdict::Start;
}

bool ActivityState::Begin(Activity activity) {
  if (current_ != Activity::Idle || activity == Activity::Idle) return false;
  current_ = activity;
  return true;
}

bool ActivityState::End(Activity activity) {
  if (activity == Activity::Idle || current_ != activity) return false;
  current_ = Activity::Idle;
  return true;
}

}  // namespace kinetta::app
