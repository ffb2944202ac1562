// The animation encoders behind WriteAnimation. Each sees the frames twice: once to learn
// them (the GIF's colours), then in order to encode them into the file.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/outcome.h"
#include "export/animation_file.h"
#include "render/surface.h"

namespace kinetta::exporter {

/// Writes bytes to the file being made; false on a write error.
using ByteSink = std::function<bool(const void* data, std::size_t size)>;

class AnimationEncoder {
 public:
  virtual ~AnimationEncoder() = default;

  /// The largest width or height the format holds.
  virtual int MaxSide() const = 0;

  /// What the encoder holds for each pixel of a frame at its height, in bytes, at most: its
  /// frame copies and working buffers, and the library's.
  virtual int HeldBytesPerPixel() const { return 48; }

  /// First pass: one frame, in order.
  virtual void Learn(const render::Surface& frame) = 0;

  /// Second pass. Start is called once before the frames; a call fails with the reason when
  /// the file cannot be made. A write the sink refused need not be reported here: the file
  /// writer has seen it and fails the file with its own reason.
  virtual base::Status Start(int width, int height, int frameCount, const ByteSink& sink) = 0;
  virtual base::Status Add(const render::Surface& frame) = 0;
  virtual base::Status Finish() = 0;
};

/// Animated GIF: palettes from libimagequant, written with giflib. A pixel at least half opaque
/// is shown opaque, laid over `matte` when it is given; the others are clear.
std::unique_ptr<AnimationEncoder> MakeGifEncoder(int delayCentiseconds,
                                                 std::optional<render::Colour> matte = {});

/// Animated WebP through libwebp's animation encoder, with the frames' transparency: lossless,
/// or lossy at `quality` (1 to 100) when it is given.
std::unique_ptr<AnimationEncoder> MakeWebpEncoder(int delayMilliseconds,
                                                  std::optional<int> quality = {});

// The three below are built into the video module only; the program reaches them through
// VideoEncoders() (video_module.h).

/// H.264 in an MP4 through FFmpeg's libraries. An odd side is padded by one column or row of
/// `padding`, or of the frame's edge repeated when it is not given.
std::unique_ptr<AnimationEncoder> MakeMp4Encoder(int delayMilliseconds,
                                                 std::optional<render::Colour> padding);

/// Animated lossless PNG (APNG) through FFmpeg's libraries, played `plays` times (0, for ever).
std::unique_ptr<AnimationEncoder> MakeApngEncoder(int delayMilliseconds, int plays);

/// VP9 in a WebM through FFmpeg's libraries, with the frames' transparency when they have some.
std::unique_ptr<AnimationEncoder> MakeWebmEncoder(int delayMilliseconds);

/// A WebM coded to a byte budget: libvpx's two passes at a mean bitrate, one key frame.
struct WebmRate {
  int kilobitsPerSecond = 0;
  /// 1: the first pass, which leaves its statistics in `stats` and writes no frame; 2: the
  /// second, which codes the frames from them.
  int pass = 1;
  std::string* stats = nullptr;
};

/// The same WebM at `rate`.
std::unique_ptr<AnimationEncoder> MakeWebmEncoderAtRate(int delayMilliseconds,
                                                        const WebmRate& rate);

}  // namespace kinetta::exporter
