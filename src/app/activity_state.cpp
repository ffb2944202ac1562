// The rules of what Execute, Preview and the animation-file command do while the program is busy.
#include "app/activity_state.h"

#include "ui_support/ui_messages.h"

namespace kinetta::app {

Verdict ActivityState::OnStart(Activity wanted) const {
  if (current_ == Activity::Idle) return Verdict::Start;
  return current_ == wanted ? Verdict::Ignore : Verdict::Refuse;
}

std::string_view ActivityState::BusyMessage() const {
  switch (current_) {
    case Activity::Converting:
      return ui::kBusyConverting;
    case Activity::Previewing:
      return ui::kBusyPreviewing;
    case Activity::MakingAnimation:
      return ui::kBusyMakingAnimation;
    case Activity::Idle:
      break;
  }
  return {};
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
