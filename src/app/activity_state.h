// What the program is busy with: nothing, a conversion run or a preview. Execute and Preview ask
// it whether they may start; the answer never depends on the status text, which other commands
// overwrite.
#pragma once

namespace kinetta::app {

enum class Activity { Idle, Converting, Previewing };

/// What the Execute command does in the current activity.
enum class ExecuteVerdict {
  Start,             ///< go on with the checks and the run
  IgnoreConverting,  ///< a run is under way: do nothing, say nothing
  RefusePreviewing,  ///< a preview plays: "プレビュー中です"
};

/// What the Preview command does in the current activity.
enum class PreviewVerdict {
  Start,             ///< go on with the start checks
  IgnorePreviewing,  ///< a preview already plays: do nothing
  RefuseConverting,  ///< a run is under way: "アニメーション変換中です"
};

class ActivityState {
 public:
  Activity current() const { return current_; }

  ExecuteVerdict OnExecute() const;
  PreviewVerdict OnPreview() const;

  /// Enters the activity; false (and no change) unless the program was idle.
  bool Begin(Activity activity);
  /// Leaves `activity`; false (and no change) when the program was not in it.
  bool End(Activity activity);

 private:
  Activity current_ = Activity::Idle;
};

}  // namespace kinetta::app
