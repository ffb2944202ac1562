// What the sticker fittings of each kind of file share: the frames the plan picks, scaled once,
// the PSNR of a file's frames against them, and the last step, the file checked against the
// target's rules from its own bytes and written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "export/animation_encoder.h"
#include "export/sticker_fit.h"

namespace kinetta::exporter {

/// The frames the plan picks, scaled to the target with every colour kept: what a file is
/// measured against. With too many to hold, frames are left out evenly from the start.
struct PlannedFrames {
  StickerPlan plan;
  std::vector<render::Surface> wanted;
  int delayMs = 0;  ///< how long each of `wanted` shows
};

/// Reads the frames the plan for `request` picks; no frame 00 is Cause::NotFound.
base::Result<PlannedFrames> ReadPlannedFrames(const FrameReader& frames,
                                              const StickerRequest& request);

/// dB of `shown` against `wanted`, frame k of `wanted` against frame k / step of `shown`, each
/// laid over black; infinity when they are the same.
double StickerPsnr(const std::vector<render::Surface>& wanted,
                   const std::vector<render::Surface>& shown, int step);

/// One encoding in memory: its bytes and their size.
struct EncodedFrames {
  std::string bytes;
  /// The bytes' size; for an encoding stopped at its limit, what the whole would be, in
  /// proportion to the frames encoded (the bytes are then dropped).
  std::size_t size = 0;
};

/// One encoding of `frames` (at least one) by `encoder`. With a `limit` (0: none), it stops as
/// soon as the bytes pass it: a file over a target's bytes need not be made whole.
base::Result<EncodedFrames> EncodeFrames(AnimationEncoder& encoder,
                                         const std::vector<render::Surface>& frames,
                                         std::size_t limit = 0);

/// The request's file failed, for `reason`.
base::Status StickerFailed(const StickerRequest& request, base::Cause cause,
                           std::string_view reason);

/// Measures `bytes`, holds them to the target's rules (into `fit`), and writes them to the
/// request's file atomically when every rule passed.
base::Status CheckAndWriteSticker(const StickerRequest& request, const std::string& bytes,
                                  StickerFit& fit);

/// The APNG and PNG targets' fitting (sticker_apng.cpp).
base::Result<StickerFit> FitApngSticker(const FrameReader& frames, const StickerRequest& request);

}  // namespace kinetta::exporter
