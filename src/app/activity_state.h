// What the program is busy with: nothing, a conversion run, a preview or the making of an
// animation file. Execute, Preview and the animation command ask it whether they may start; the
// answer never depends on the status text, which other commands overwrite.
#pragma once

namespace kinetta::app {

enum class Activity { Idle, Converting, Previewing, MakingAnimation };

/// What the Execute command does in the current activity.
enum class ExecuteVerdict {
  Start,                  ///< go on with the checks and the run
  IgnoreConverting,       ///< a run is under way: do nothing, say nothing
  RefusePreviewing,       ///< a preview plays: "プレビュー中です"
  RefuseMakingAnimation,  ///< an animation file is being made from the frames a run would
                          ///< overwrite: "アニメーションファイル作成中です"
};

/// What the Preview command does in the current activity.
enum class PreviewVerdict {
  Start,                  ///< go on with the start checks
  IgnorePreviewing,       ///< a preview already plays: do nothing
  RefuseConverting,       ///< a run is under way: "アニメーション変換中です"
  RefuseMakingAnimation,  ///< the abort button belongs to the file being made
};

/// What the animation-file command (and its dialog's OK) does in the current activity.
enum class AnimationVerdict {
  Start,             ///< go on
  IgnoreMaking,      ///< a file is already being made: do nothing
  RefuseConverting,  ///< the frames are being written: "アニメーション変換中です"
  RefusePreviewing,  ///< the abort button belongs to the preview: "プレビュー中です"
};

class ActivityState {
 public:
  Activity current() const { return current_; }

  ExecuteVerdict OnExecute() const;
  PreviewVerdict OnPreview() const;
  AnimationVerdict OnAnimation() const;

  /// Enters the activity; false (and no change) unless the program was idle.
  bool Begin(Activity activity);
  /// Leaves `activity`; false (and no change) when the program was not in it.
  bool End(Activity activity);

 private:
  Activity current_ = Activity::Idle;
};

}  // namespace kinetta::app
