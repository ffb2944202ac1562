// Fitting a run's frames to a sticker target: scaled to the target's size, spread evenly
// through the loop, encoded with fewer colours or fewer frames until the file is within the
// target's bytes, checked against every rule of the target, then written. GIF, APNG and PNG
// targets; the WebM's bitrate is searched instead.
#pragma once

#include <atomic>
#include <filesystem>
#include <vector>

#include "base/outcome.h"
#include "export/animation_file.h"
#include "export/sticker_check.h"
#include "export/sticker_targets.h"
#include "render/surface.h"

namespace kinetta::exporter {

struct StickerRequest {
  const StickerTarget* target = nullptr;
  int frameCount = 0;  ///< the run's frames, one loop
  int delayMs = 200;   ///< how long the run's frames show
  std::filesystem::path file;
  const std::atomic<bool>* abort = nullptr;  ///< checked between encodings; may be null
  /// The frames read (`total` 0), then the encodings made of at most `total`; may be empty.
  AnimationProgress progress;
};

/// What was chosen and made.
struct StickerFit {
  StickerPlan plan;           ///< as written: the frames kept and their time
  int frameStep = 1;          ///< every frameStep-th of the planned frames was kept
  int colourBits = 8;         ///< the bits of each colour channel kept (8: all)
  int colours = 0;            ///< an APNG's shared palette of this many colours; 0: every colour
  int kilobitsPerSecond = 0;  ///< a video's mean bitrate (0: not a video)
  StickerMeasure measure;
  std::vector<RuleOutcome> rules;
  /// dB of the file's frames, as shown, against the frames scaled to the target's size with
  /// every colour and frame; infinity when they are the same.
  double psnr = 0.0;
};

/// Reads the run's frames, fits them to the target and writes the file atomically, once it
/// passed the target's rules as measured from its bytes. A WebM target is Cause::Unsupported;
/// no frame 00 is Cause::NotFound; the abort flag Cause::Aborted.
base::Result<StickerFit> FitSticker(const FrameReader& frames, const StickerRequest& request);

/// FitSticker for a WebM target: the frames the plan picks, every one kept, coded in two passes
/// at the highest mean bitrate found to fit the target's bytes.
base::Result<StickerFit> FitWebmSticker(const FrameReader& frames, const StickerRequest& request);

/// `frame` scaled into the plan's picture (each pixel the area-weighted mean of the pixels it
/// covers, colours weighted by their opacity) at its place; the rest of the plan's size clear.
render::Surface ScaleIntoPlan(const render::Surface& frame, const StickerPlan& plan);

}  // namespace kinetta::exporter
