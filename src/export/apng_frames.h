// The APNG of opaque frames of many colours, written chunk by chunk: libavcodec's encoder can
// only leave the unchanged pixels in a frame's rectangle as they are, and deflates with zlib.
// Here each frame after the first is its changed rectangle laid over the one before, with the
// pixels that did not change in it set to a colour no frame has, which the file's header marks
// as clear; each row gets the filter that suits it, and libdeflate packs the rows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "base/outcome.h"
#include "export/animation_encoder.h"
#include "render/surface.h"

namespace kinetta::exporter {

class ApngFrameWriter {
 public:
  /// `key`: a colour that is in no frame, or none when every colour is taken (then each
  /// frame's rectangle is written whole).
  ApngFrameWriter(int delayMilliseconds, std::optional<render::Colour> key);
  ~ApngFrameWriter();
  ApngFrameWriter(const ApngFrameWriter&) = delete;
  ApngFrameWriter& operator=(const ApngFrameWriter&) = delete;

  /// Writes the header: the picture's size, the key colour and `animationControl` (the whole
  /// acTL chunk). The sink takes the file as it is made.
  base::Status Start(int width, int height, std::span<const std::uint8_t> animationControl,
                     const ByteSink& sink);
  base::Status Add(const render::Surface& frame);
  base::Status Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// A colour the frames marked in `seen` (one bit per 24-bit colour) do not have, or none.
std::optional<render::Colour> UnusedColour(std::span<const std::uint64_t> seen);

}  // namespace kinetta::exporter
