// What every motion's renderer provides to the shared driver: its frame size (by its unit's own
// rule), the tables it computes once per run, and how to draw frame k row by row, with the
// checkpoint called at its fixed yield points through the paced row loop they all share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/settings.h"
#include "render/surface.h"

namespace kinetta::render {

using base::Settings;

/// Called by a renderer at every 32nd step of its outer pixel loop (steps 0, 32, 64, ...).
/// It is where the program stays responsive, and where an abort is noticed.
class Checkpoint {
 public:
  virtual ~Checkpoint() = default;
  /// True when the run is to stop now: the frame being drawn is then dropped.
  virtual bool Step() = 0;
};

/// What a renderer reads: the work picture (the source itself; a motion that shows the source
/// repeated side by side reads it by column arithmetic), the source size, the settings and the
/// seed for random dots. With a background colour the callers hand in the picture laid over that
/// colour (every top byte 0; a top byte left there is copied or dropped, never read as a colour);
/// with a clear background (TransparentBack) its pixels carry their transparency as
/// transparency.h describes. A renderer keeps its own copy: the work
/// picture is shared, read-only, and lives as long as any renderer that holds it, whatever becomes
/// of the caller's objects.
struct RenderInput {
  std::shared_ptr<const Surface> work;
  int sourceWidth = 0;   ///< W
  int sourceHeight = 0;  ///< H
  Settings settings;
  std::uint64_t seed = 0;
  /// Called while the constructor makes the run's tables, every 32 rows or columns; when it
  /// asks to stop, the tables are left incomplete and the renderer must not draw. May be null.
  /// Tables made in parts (TableParts) call it from several threads at once.
  Checkpoint* preparing = nullptr;
  /// Runs part(0) .. part(count - 1) of a table on the run's threads, handing out no more parts
  /// once one returns false (stopped), and returns when every part taken has ended. Empty: the
  /// parts run in order on the constructor's thread.
  std::function<void(int count, const std::function<bool(int part)>& part)> parts{};
};

/// Makes a table in `count` parts that write disjoint memory: on the run's threads where the
/// driver gives them, else in order; no part starts after one returned false.
inline void TableParts(const RenderInput& in, int count, const std::function<bool(int)>& part) {
  if (in.parts) {
    in.parts(count, part);
    return;
  }
  for (int i = 0; i < count && part(i); ++i) {
  }
}

/// True at step 0, 32, 64, ... of a table-making loop when the run is to stop.
inline bool PreparingStopped(const RenderInput& in, int step) {
  return in.preparing && (step & 31) == 0 && in.preparing->Step();
}

struct FrameSize {
  int width = 0;
  int height = 0;
};

/// The size of a motion's frames from a W x H source, worked out without a renderer.
using FrameSizeRule = FrameSize (*)(const Settings& s, int sourceWidth, int sourceHeight);

/// Where a renderer draws a frame: a whole canvas, or a few rows at a time that are written
/// out as soon as they are drawn, so that a large frame is never held whole. A renderer asks
/// for the rows it draws in strips: between two calls of EndStrip at most kStripRows rows that
/// lie next to each other, each as often as it likes; once its strip has ended a row is not
/// asked for again in that frame. A row comes as StartRow prepared it, or as the same renderer
/// left it in an earlier frame: a pixel that a renderer leaves alone in one frame it leaves
/// alone in every frame.
class FrameRows {
 public:
  static constexpr int kStripRows = 32;
  virtual ~FrameRows() = default;
  /// Row y of the frame, 0 <= y < its height.
  virtual std::uint32_t* Row(int y) = 0;
  /// The rows asked for since the last call are drawn.
  virtual void EndStrip() = 0;
};

class Renderer {
 public:
  virtual ~Renderer() = default;

  /// The size of every frame of the run: what the motion's size rule gives for the input.
  FrameSize Size() const { return size_; }

  /// Prepares row y of a frame before anything is drawn on it (by default: the background).
  /// `row` holds Size().width pixels.
  virtual void StartRow(int y, std::uint32_t* row) const;

  /// Prepares a canvas of Size() before its first frame: every row as StartRow does.
  void StartCanvas(Surface& canvas) const;

  /// Draws frame k (0-based) on `rows`. Returns false when the checkpoint asked to stop; the
  /// frame is then partial. Frames are independent: the driver calls this from several threads
  /// at once on different rows, so it changes nothing but the rows (all a run's tables are made
  /// by the constructor), and frame k comes out the same whatever frames were drawn before.
  virtual bool DrawRows(int k, FrameRows& rows, Checkpoint& checkpoint) const = 0;

  /// Draws frame k on a whole canvas that StartCanvas prepared, as DrawRows does.
  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) const;

 protected:
  /// A renderer whose frames have the size `size` gives for its input.
  Renderer(const RenderInput& in, FrameSizeRule size)
      : in_(in),
        clearBack_(in.settings.TransparentBack),
        size_(size(in.settings, in.sourceWidth, in.sourceHeight)) {}

  /// What the motion paints where the picture is not: the background colour, or kClear with a
  /// clear background.
  std::uint32_t Background() const;

  /// What a read past the work picture becomes: `opaque` (the -1 of the read, which each motion
  /// turns into a colour of its own) with a background colour; with a clear background there is
  /// nothing there, kClear.
  std::uint32_t PastPicture(std::uint32_t opaque) const;

  const RenderInput in_;
  /// The pixels carry transparency: the paths that change colours keep it apart.
  const bool clearBack_;

 private:
  const FrameSize size_;
};

/// The output width of the plane, disk, sphere and cylinder: WidthMode 0 the source width,
/// 1 the source height, 2 WidthValue, anything else 0.
int OutputWidth(const Settings& s, int sourceWidth, int sourceHeight);

/// True at outer loop steps 0, 32, 64, ... where a renderer calls its checkpoint.
inline bool IsCheckpointStep(int step) { return (step & 31) == 0; }

/// The checkpoint of a frame whose steps are its columns, drawn row by row so that memory is
/// read in order: the ceil(W / 32) calls a walk over the columns would make are spread evenly
/// over the rows, the first before any pixel, and a stop ends the frame at once as there.
class ColumnPacedCheckpoint {
 public:
  ColumnPacedCheckpoint(Checkpoint& checkpoint, int columns, int rows)
      : checkpoint_(checkpoint), calls_((std::max(columns, 0) + 31) / 32), rows_(rows) {}

  /// Makes the calls due before row y (0 .. rows - 1); true when one asked to stop.
  bool BeforeRow(int y) {
    const auto due =
        static_cast<int>((static_cast<std::int64_t>(y + 1) * calls_ + rows_ - 1) / rows_);
    for (; made_ < due; ++made_) {
      if (checkpoint_.Step()) return true;
    }
    return false;
  }

 private:
  Checkpoint& checkpoint_;
  const int calls_;
  const int rows_;
  int made_ = 0;
};

/// A renderer whose frames have the size that its unit's rule `kSize` gives for its input: the
/// rule the motion table names too, so that a run's plans and its frames cannot disagree.
template <FrameSizeRule kSize>
class RendererSizedBy : public Renderer {
 protected:
  explicit RendererSizedBy(const RenderInput& in) : Renderer(in, kSize) {}
};

/// Where a frame drawn step by step (row by row, mostly) calls its checkpoint.
struct Pace {
  enum class Kind { Rows, Columns, Never };
  Kind kind;
  int columns;  ///< Columns: how many the calls are made for

  /// Before steps 0, 32, 64, ...: the frame's outer loop runs over its rows.
  static constexpr Pace ByRows() { return {Kind::Rows, 0}; }
  /// As a walk over `columns` columns would, spread over the rows (ColumnPacedCheckpoint).
  static constexpr Pace ByColumns(int columns) { return {Kind::Columns, columns}; }
  /// Never: the frame is always drawn to its end.
  static constexpr Pace Never() { return {Kind::Never, 0}; }
};

/// Draws steps 0 .. steps - 1 of a frame in order with draw(y), which draws the rows of step y
/// (its own row, mostly): the strip ends before every kStripRows-th step, the checkpoint's calls
/// come before the steps `pace` places them at, and the frame stops at the first call that asks
/// to. Returns false when it stopped.
template <typename DrawStep>
bool DrawRowsPaced(FrameRows& rows, Checkpoint& checkpoint, int steps, Pace pace, DrawStep draw) {
  ColumnPacedCheckpoint columns(checkpoint, pace.columns, steps);
  for (int y = 0; y < steps; ++y) {
    if (y % FrameRows::kStripRows == 0) rows.EndStrip();
    const bool stop = pace.kind == Pace::Kind::Rows      ? IsCheckpointStep(y) && checkpoint.Step()
                      : pace.kind == Pace::Kind::Columns ? columns.BeforeRow(y)
                                                         : false;
    if (stop) return false;
    draw(y);
  }
  return true;
}

/// The same a strip at a time, paced by rows: draw(y0, y1) draws steps y0 .. y1 - 1, at most
/// kStripRows of them.
template <typename DrawStrip>
bool DrawStripsPaced(FrameRows& rows, Checkpoint& checkpoint, int steps, DrawStrip draw) {
  return DrawRowsPaced(rows, checkpoint, steps, Pace::ByRows(), [&](int y) {
    if (y % FrameRows::kStripRows == 0) draw(y, std::min(y + FrameRows::kStripRows, steps));
  });
}

}  // namespace kinetta::render
