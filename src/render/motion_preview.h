// What the settings dialog's moving preview draws: which of a run's frames it shows, the run
// scaled down so that its frame fits the preview box, the picture reduced to that scale (made
// once per picture), and the drawn test picture shown while no picture is open.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "base/settings.h"
#include "render/renderer.h"
#include "render/surface.h"

namespace kinetta::render {

/// The run frames a preview of at most `most` frames shows, in order: all of them when the run
/// has no more, else frame floor(j x n / most) for j = 0 .. most - 1, spread evenly through the
/// loop. Empty for a run of no frame.
std::vector<int> SampledFrames(int frameCount, int most);

/// How a preview shows the run of `s` on a W x H source within `box` pixels.
struct PreviewPlan {
  int sourceWidth = 0;  ///< the reduced source the preview draws from
  int sourceHeight = 0;
  Settings settings;        ///< the run's settings, the typed width reduced alike
  std::vector<int> frames;  ///< the run frames shown (SampledFrames)
};

/// The run reduced by one factor, so that its frame's longer side is at most `box` pixels (a
/// frame that already fits keeps its size), and at most `most` of its frames. The source and a
/// typed width are reduced alike, so the frame and the motion keep their proportions; each is at
/// least one pixel.
PreviewPlan PlanPreview(const Settings& s, int sourceWidth, int sourceHeight, int box, int most);

/// `source` brought to width x height: each pixel the average of the source pixels it covers
/// (the nearest pixel where it is enlarged). With a checkpoint, called at every row made; when it
/// asks to stop, the rest stays black.
Surface Reduce(const Surface& source, int width, int height, Checkpoint* checkpoint = nullptr);

/// The open picture reduced for previews. The picture is first reduced once to a working copy of
/// at most `workingSide` pixels on its longer side; the sizes a preview asks for are made from
/// that small copy, so a change of settings costs nothing like a pass over a large picture. Safe
/// to use from any thread.
class PreviewSources {
 public:
  /// `picture` at width x height; the picture itself at its own size. Null when the checkpoint
  /// stopped the reduction.
  std::shared_ptr<const Surface> SourceOfSize(const std::shared_ptr<const Surface>& picture,
                                              int width, int height, int workingSide,
                                              Checkpoint* checkpoint);

 private:
  std::shared_ptr<const Surface> Working(const std::shared_ptr<const Surface>& picture,
                                         int workingSide, Checkpoint* checkpoint);

  std::mutex mutex_;
  int workingSide_ = 0;
  std::weak_ptr<const Surface> picture_;  ///< the picture the working copy was made from
  std::shared_ptr<const Surface> working_;
};

/// The picture a preview moves while no picture is open: a grid over four coloured fields and an
/// arrow pointing right, so that turning, mirroring and waving are easy to read.
std::shared_ptr<const Surface> TestPicture();

}  // namespace kinetta::render
