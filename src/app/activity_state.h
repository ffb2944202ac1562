// What the program is busy with: nothing, a conversion run, a preview or the making of an
// animation file. Execute, Preview and the animation command ask it whether they may start; the
// answer never depends on the status text, which other commands overwrite.
#pragma once

#include <string_view>

namespace kinetta::app {

enum class Activity { Idle, Converting, Previewing, MakingAnimation };

/// What a command that would start an activity does.
enum class Verdict {
  Start,   ///< the program is idle: go on
  Ignore,  ///< that same activity is under way: do nothing, say nothing
  Refuse,  ///< another activity is under way: say which (BusyMessage)
};

class ActivityState {
 public:
  Activity current() const { return current_; }

  /// The answer to a command that starts `wanted`. A run in progress refuses a preview and an
  /// animation file (its frames are still being written); a preview refuses a run and a file
  /// (the abort button is its own); a file being made refuses a run (it would overwrite the
  /// frames being read) and a preview (the abort button is the file's).
  Verdict OnStart(Activity wanted) const;

  /// The refusal for the activity under way; empty while idle.
  std::string_view BusyMessage() const;

  /// Enters the activity; false (and no change) unless the program was idle.
  bool Begin(Activity activity);
  /// Leaves `activity`; false (and no change) when the program was not in it.
  bool End(Activity activity);

 private:
  Activity current_ = Activity::Idle;
};

}  // namespace kinetta::app
