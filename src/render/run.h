// The conversion run: the checks before it, the work picture, drawing the frames of the chosen
// motion on all cores, and saving them in order under the frame naming rule.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "base/settings.h"
#include "render/renderer.h"
#include "render/surface.h"

namespace kinetta::render {

using base::Settings;

// ---- Checks before a run -------------------------------------------------------------------

enum class RunWarning { WideFrame, LargeSource, ManyFrames };

/// The warnings to put to the user before a run, in order: frames wider than 500 pixels (by the
/// width mode), a source larger than 300 x 300, more than 40 frames. 500, 300 and 40 pass.
std::vector<RunWarning> CheckRunWarnings(const Settings& s, double sourceWidthPx,
                                         double sourceHeightPx);

/// The warning's first line ("幅が大きくて時間がかかります。", ...).
std::string_view WarningText(RunWarning w);

/// The warning as the question box shows it: the first line, a line break, the question
/// whether to go on.
std::string WarningQuestion(RunWarning w);

// ---- The run ---------------------------------------------------------------------------------

/// Shared between a run and whoever may stop it (the abort button, Ctrl-C, closing the window).
struct RunControl {
  /// The abort button: renderers stop at their next checkpoint (the cut-out never stops and
  /// only reports the abort at the end).
  std::atomic<bool> abort{false};
  /// The program is ending: every renderer stops, the cut-out between two frames.
  std::atomic<bool> stop{false};
};

struct RenderOptions {
  int threads = 0;         ///< frames drawn at once, at most two; 0 = one per core up to that
  std::uint64_t seed = 0;  ///< the random dots of the fade-in
  RunControl* control = nullptr;
  /// Called at every checkpoint with the frame being drawn, before the abort test; from the
  /// drawing threads. Tests press abort here at a chosen frame.
  std::function<void(int frame)> onCheckpoint;
  /// The most memory the run may hold, in bytes; 0 = what the machine has available. A run
  /// that would hold more is refused before it takes any (RunStatus::TooLarge).
  std::uint64_t memoryBudget = 0;
  /// Only these frames of the run, in ascending order (a preview's sample); each is drawn as the
  /// run of FrameCount frames draws it and handed on under its own number. Empty = every frame.
  std::vector<int> frames;
};

enum class RunStatus {
  Completed,     ///< every frame was produced
  Aborted,       ///< stopped by the abort button or the end of the program
  WriteFailed,   ///< a frame could not be handed on (a frame file could not be written)
  Failed,        ///< the run broke off with an error (memory ran out, say); frames saved stay
  BadFrameSize,  ///< the frame would be smaller than one pixel; nothing was written
  NoShape,       ///< ShapeIndex names no motion; nothing was written
  TooLarge,      ///< the run would need more memory than it may take; nothing was written
};

struct RunResult {
  RunStatus outcome = RunStatus::Completed;
  int framesDone = 0;  ///< frames handed on (saved), 0 .. FrameCount (or the frames asked)
  int frameWidth = 0;  ///< the size of the run's frames (also when FrameCount is below 1)
  int frameHeight = 0;
  std::string failedPath;  ///< the frame file that could not be written
  /// Ok for a completed run. An aborted run fails with Cause::Aborted and no message; any other
  /// outcome with its cause and the message for the user (Cause::BadSetting for NoShape and
  /// BadFrameSize, Cause::TooLarge for TooLarge, the frame file's cause for WriteFailed).
  base::Status status;
  std::string notice;  ///< for the user, what a run that went through left undone
};

/// What became of a frame handed on. The default outcome is taken; a failed status ends the
/// run (RunStatus::WriteFailed) with its cause and message.
struct [[nodiscard]] FrameOutcome {
  base::Status status;
  std::string failedPath;  ///< the frame file that could not be written
};

/// Receives frame k (in order, on the calling thread).
using FrameConsumer = std::function<FrameOutcome(int k, const Surface& frame)>;

/// The part of handing on a frame that is done on the calling thread, in frame order.
using FrameCommit = std::function<FrameOutcome()>;

/// Takes frame k on the thread that drew it, as soon as it is drawn, while another thread may
/// be taking the frame before or after it (writing its file under a temporary name, say), and
/// returns the rest of the work, which the calling thread does in frame order. The frame stays
/// as drawn until then. A commit that is never called (the run stopped first) is dropped.
using FrameStage = std::function<FrameCommit(int k, const Surface& frame)>;

/// Where one frame's rows go as they are drawn, on the thread that draws them (the frame's file,
/// written in pieces): the frame is handed on a strip of rows at a time and never held whole.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  /// Rows first .. first + count - 1 of the frame, drawn: row first + i at rows[i]. Every row
  /// of the frame comes once, in strips in any order. A failure: the frame cannot be handed on
  /// (its file cannot be written, say); no more of its rows come, its drawing stops at the next
  /// checkpoint, and the commit Finish gives reports it.
  virtual base::Status Rows(int first, int count, const std::uint32_t* const* rows) = 0;
  /// Called once, when every row has come or a Rows call failed: the rest of the work, which
  /// the calling thread does in frame order. It holds what it needs; the sink may go first.
  virtual FrameCommit Finish() = 0;
};

/// Opens the sink of frame k on the thread that is to draw it.
using FrameSinkOpener = std::function<std::unique_ptr<FrameSink>(int k)>;

/// Draws the FrameCount frames of the motion `s.ShapeIndex` from `source` and hands each to
/// `consume` in order. Frames are drawn on up to two threads with two canvases, so memory
/// stays at two frames whatever the frame count and the number of cores.
RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& options,
                       const FrameConsumer& consume);

/// The same with each frame taken first by `stage` on its drawing thread, then committed in
/// order on the calling thread.
RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& options,
                       const FrameStage& stage);

/// The same with each frame's rows handed to the sink `open` gives for it as they are drawn, a
/// strip at a time, then committed in order on the calling thread: the memory for frames is a
/// few rows per drawing thread, whatever the frame size.
RunResult RenderFrames(const Surface& source, const Settings& s, const RenderOptions& options,
                       const FrameSinkOpener& open);

}  // namespace kinetta::render
