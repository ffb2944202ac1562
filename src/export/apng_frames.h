// The APNG of frames of many colours, written chunk by chunk: libavcodec's encoder leaves the
// unchanged pixels of opaque frames in a frame's rectangle as they are, tries every way of
// laying a frame with transparency over the last, and deflates with zlib. Here each frame after
// the first is its changed rectangle laid over the one before, with the pixels that did not
// change in it clear: in RGB a colour no frame has, which the file's header marks as clear; in
// RGBA the clear pixel, when every changed pixel is opaque (else the rectangle goes whole).
// The rows are filtered or not as a quick trial shows, and libdeflate packs them; frames of up to a
// megapixel two at a time, on threads of their own while the next is prepared.
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
  /// `alpha`: RGBA, for frames with transparency; else RGB, and `key` a colour that is in no
  /// frame, or none when every colour is taken (then each frame's rectangle is written whole).
  ApngFrameWriter(int delayMilliseconds, bool alpha, std::optional<render::Colour> key);
  ~ApngFrameWriter();
  ApngFrameWriter(const ApngFrameWriter&) = delete;
  ApngFrameWriter& operator=(const ApngFrameWriter&) = delete;

  /// Writes the header: the picture's size, the RGB key colour and `animationControl` (the whole
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
