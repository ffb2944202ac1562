// The frames' slots: a whole canvas, or a ring of rows whose strips go to the frame's sink as
// they end.
#include "render/frame_slots.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "render/surface.h"

namespace kinetta::render {

namespace {

// A whole canvas, handed to the stage once the frame is drawn. The frame stays on it until its
// commit has been made.
class CanvasSlot final : public FrameSlot {
 public:
  CanvasSlot(const Renderer& r, const FrameStage& stage)
      : canvas_(r.Size().width, r.Size().height), stage_(stage) {
    r.StartCanvas(canvas_);
  }
  std::optional<FrameCommit> Draw(const Renderer& r, int k, Checkpoint& checkpoint) override {
    if (!r.DrawFrame(k, canvas_, checkpoint)) return std::nullopt;
    return stage_(k, canvas_);
  }

 private:
  Surface canvas_;
  const FrameStage& stage_;
};

// A frame's rows a strip at a time, each strip handed to the frame's sink as soon as it ends.
// Rows the renderer never asks for (round a sphere, say) go as StartRow prepares them.
class StripRows final : public FrameRows {
 public:
  explicit StripRows(const Renderer& r)
      : r_(r),
        width_(r.Size().width),
        height_(r.Size().height),
        ring_(static_cast<std::size_t>(width_) * kStripRows),
        slotRow_(kStripRows, -1),
        pointers_(kStripRows),
        done_(static_cast<std::size_t>(height_)) {}

  void Start(FrameSink& sink) {
    sink_ = &sink;
    failed_ = false;
    std::fill(done_.begin(), done_.end(), false);
    std::fill(slotRow_.begin(), slotRow_.end(), -1);
    lo_ = height_;
    hi_ = -1;
  }

  // Row y sits in ring slot y mod kStripRows: the rows of one strip never share a slot.
  std::uint32_t* Row(int y) override {
    if (y < 0 || y >= height_) throw std::logic_error("a frame row asked for outside the frame");
    const int slot = y % kStripRows;
    std::uint32_t* row = ring_.data() + static_cast<std::size_t>(slot) * width_;
    if (slotRow_[slot] == y) return row;
    if (done_[static_cast<std::size_t>(y)]) {
      throw std::logic_error("a frame row asked for again after its strip");
    }
    lo_ = std::min(lo_, y);
    hi_ = std::max(hi_, y);
    if (hi_ - lo_ >= kStripRows) throw std::logic_error("a strip of more rows than it may have");
    slotRow_[slot] = y;
    r_.StartRow(y, row);
    return row;
  }

  void EndStrip() override {
    if (hi_ < lo_) return;
    const int count = hi_ - lo_ + 1;
    for (int i = 0; i < count; ++i) {
      const int y = lo_ + i;
      const int slot = y % kStripRows;
      std::uint32_t* row = ring_.data() + static_cast<std::size_t>(slot) * width_;
      if (slotRow_[slot] != y) r_.StartRow(y, row);  // between rows asked for, not itself
      pointers_[i] = row;
      slotRow_[slot] = -1;
      done_[static_cast<std::size_t>(y)] = true;
    }
    if (!failed_) failed_ = !sink_->Rows(lo_, count, pointers_.data()).ok();
    lo_ = height_;
    hi_ = -1;
  }

  // The frame is drawn: the last strip goes, then the rows never asked for. False when the
  // sink failed.
  bool Finish() {
    EndStrip();
    for (int y = 0; y < height_ && !failed_; ++y) {
      if (done_[static_cast<std::size_t>(y)]) continue;
      if (hi_ >= lo_ && (y != hi_ + 1 || y - lo_ >= kStripRows)) EndStrip();
      Row(y);
    }
    EndStrip();
    return !failed_;
  }

  bool failed() const { return failed_; }

 private:
  const Renderer& r_;
  const int width_;
  const int height_;
  std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> ring_;
  std::vector<int> slotRow_;  // the row each slot holds in the strip being drawn, or -1
  std::vector<const std::uint32_t*> pointers_;
  std::vector<bool> done_;  // rows handed on in this frame
  FrameSink* sink_ = nullptr;
  bool failed_ = false;
  int lo_ = 0, hi_ = -1;  // the rows of the strip being drawn
};

// The frame's checkpoint, which also stops it once its rows can no longer be handed on.
class StripCheckpoint final : public Checkpoint {
 public:
  StripCheckpoint(Checkpoint& checkpoint, const StripRows& rows)
      : checkpoint_(checkpoint), rows_(rows) {}
  bool Step() override { return rows_.failed() || checkpoint_.Step(); }

 private:
  Checkpoint& checkpoint_;
  const StripRows& rows_;
};

// A strip of rows, handed to the frame's sink as the frame is drawn.
class StripSlot final : public FrameSlot {
 public:
  StripSlot(const Renderer& r, const FrameSinkOpener& open) : rows_(r), open_(open) {}
  std::optional<FrameCommit> Draw(const Renderer& r, int k, Checkpoint& checkpoint) override {
    const std::unique_ptr<FrameSink> sink = open_(k);
    rows_.Start(*sink);
    StripCheckpoint checked(checkpoint, rows_);
    const bool drawn = r.DrawRows(k, rows_, checked) && rows_.Finish();
    // A frame stopped at a checkpoint is dropped with its sink; one the sink failed reports why.
    if (!drawn && !rows_.failed()) return std::nullopt;
    return sink->Finish();
  }

 private:
  StripRows rows_;
  const FrameSinkOpener& open_;
};

}  // namespace

std::unique_ptr<FrameSlot> MakeCanvasSlot(const Renderer& r, const FrameStage& stage) {
  return std::make_unique<CanvasSlot>(r, stage);
}

std::unique_ptr<FrameSlot> MakeStripSlot(const Renderer& r, const FrameSinkOpener& open) {
  return std::make_unique<StripSlot>(r, open);
}

}  // namespace kinetta::render
