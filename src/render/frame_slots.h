// What the run's drawing threads draw frames on: a whole canvas handed to the stage once the
// frame is drawn, or a strip of rows handed to the frame's sink as it is drawn.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "render/renderer.h"
#include "render/run.h"

namespace kinetta::render {

/// What a drawing thread draws frames on, and how it takes each as far as its commit.
class FrameSlot {
 public:
  virtual ~FrameSlot() = default;
  /// Draws frame k and takes it on; nothing when the checkpoint stopped it.
  virtual std::optional<FrameCommit> Draw(const Renderer& r, int k, Checkpoint& checkpoint) = 0;
};

using SlotMaker = std::function<std::unique_ptr<FrameSlot>(const Renderer&)>;

/// A whole canvas of the renderer's frame size, prepared by StartCanvas, handed to `stage` once
/// the frame is drawn; the frame stays on it until its commit has been made.
std::unique_ptr<FrameSlot> MakeCanvasSlot(const Renderer& r, const FrameStage& stage);

/// A strip of rows, each strip handed to the sink `open` gives for the frame as soon as it is
/// drawn; a frame its sink failed is taken on to the commit that reports why.
std::unique_ptr<FrameSlot> MakeStripSlot(const Renderer& r, const FrameSinkOpener& open);

}  // namespace kinetta::render
