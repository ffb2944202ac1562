// The animated WebP through libwebp's animation encoder, which stores only the part of each
// frame that changed: lossless (every pixel exact) or lossy at a chosen quality, either way with
// the frames' transparency. The file is assembled in memory and written at the end.
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/messages.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// libwebp's lossless effort preset (0 fastest .. 9 smallest; a method and a quality). 6 is
// method 4 at quality 75, the library's defaults and what its own animation tool uses; 5, 7
// and 8 gave no smaller file on a drawing's sphere (8 took twice the time), nor did the
// animation encoder's minimize_size (twice the time). The encoder runs on two threads, which
// the lossless coder spends on two of its trials at once.
constexpr int kLosslessLevel = 6;

// A lossy file's method (0 fastest .. 6 smallest): the library's default.
constexpr int kLossyMethod = 4;

// Whether any pixel of the frame is not opaque.
bool HasTransparency(const Surface& frame) {
  for (int y = 0; y < frame.height(); ++y) {
    const std::uint32_t* row = frame.Row(y);
    std::uint32_t any = 0;
    for (int x = 0; x < frame.width(); ++x) any |= row[x];
    if ((any >> 24) != 0) return true;
  }
  return false;
}

class WebpEncoder final : public AnimationEncoder {
 public:
  WebpEncoder(int delayMilliseconds, std::optional<int> quality)
      : delay_(delayMilliseconds), quality_(quality) {}

  ~WebpEncoder() override {
    if (encoder_ != nullptr) WebPAnimEncoderDelete(encoder_);
  }

  // The bitstream's 14-bit width and height fields.
  int MaxSide() const override { return WEBP_MAX_DIMENSION; }
  // The frame given to the library and its canvases: the previous, the current and the
  // candidate sub-frames it compares; a frame with transparency turned to RGBA first.
  int HeldBytesPerPixel() const override { return 44; }

  void Learn(const Surface&) override {}

  base::Status Start(int width, int height, int, const ByteSink& sink) override {
    sink_ = &sink;
    width_ = width;
    height_ = height;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_)) {
      return VersionMismatch();
    }
    options.anim_params.loop_count = 0;  // for ever
    // Every frame of one kind; no key frames beyond the first (the library's default), so each
    // frame may store only its change.
    options.allow_mixed = 0;
    if (quality_) {
      config_.lossless = 0;
      config_.quality = static_cast<float>(*quality_);
      config_.method = kLossyMethod;
      // Soft edges against the clear background are kept by coding the opacity exactly.
      config_.alpha_quality = 100;
    } else {
      if (!WebPConfigLosslessPreset(&config_, kLosslessLevel)) return VersionMismatch();
      config_.lossless = 1;
      // The colour of a pixel nobody sees is the library's to choose: a fully clear one, and
      // one a frame leaves to the frame before (the animation encoder makes those clear). On
      // a test card's sphere that is 2 % of the file; every pixel shown stays exact.
      config_.exact = 0;
    }
    config_.thread_level = 1;
    encoder_ = WebPAnimEncoderNew(width, height, &options);
    if (encoder_ == nullptr) {
      return base::Status::Failed(base::Cause::OutOfMemory,
                                  EncoderMessage(kLabel, base::kOutOfMemoryMessage));
    }
    timestamp_ = 0;
    return base::Status::Ok();
  }

  base::Status Add(const Surface& frame) override {
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) return VersionMismatch();
    picture.use_argb = 1;
    picture.width = width_;
    picture.height = height_;
    bool ok = false;
    if (!HasTransparency(frame)) {
      // Surface rows lie in memory as R, G, B, and a transparency of 0: libwebp's RGBX.
      ok = WebPPictureImportRGBX(&picture, reinterpret_cast<const std::uint8_t*>(frame.Row(0)),
                                 static_cast<int>(sizeof(std::uint32_t)) * frame.width());
    } else {
      // The top byte is 255 minus the opacity, so turned over it is RGBA's alpha.
      rgba_.resize(static_cast<std::size_t>(width_) * height_);
      for (int y = 0; y < height_; ++y) {
        const std::uint32_t* in = frame.Row(y);
        std::uint32_t* out = rgba_.data() + static_cast<std::size_t>(y) * width_;
        for (int x = 0; x < width_; ++x) out[x] = in[x] ^ 0xFF000000u;
      }
      ok = WebPPictureImportRGBA(&picture, reinterpret_cast<const std::uint8_t*>(rgba_.data()),
                                 static_cast<int>(sizeof(std::uint32_t)) * width_);
    }
    ok = ok && WebPAnimEncoderAdd(encoder_, &picture, timestamp_, &config_);
    base::Status added = ok ? base::Status::Ok() : Failed();
    WebPPictureFree(&picture);
    timestamp_ += delay_;
    return added;
  }

  base::Status Finish() override {
    // The closing call gives the last frame its duration.
    if (!WebPAnimEncoderAdd(encoder_, nullptr, timestamp_, nullptr)) return Failed();
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder_, &data)) return Failed();
    // The whole file in one write; a failed write is reported by the file, which saw its error.
    (*sink_)(data.bytes, data.size);
    WebPDataClear(&data);
    return base::Status::Ok();
  }

 private:
  static constexpr std::string_view kLabel = "WebP";

  base::Status Failed() const {
    return base::Status::Failed(base::Cause::Io,
                                LibraryMessage(kLabel, WebPAnimEncoderGetError(encoder_)));
  }

  static base::Status VersionMismatch() {
    return base::Status::Failed(base::Cause::Unsupported,
                                EncoderMessage(kLabel, kLibraryVersionText));
  }

  int delay_;
  std::optional<int> quality_;       // lossy at this quality; lossless without it
  std::vector<std::uint32_t> rgba_;  // a frame with transparency, as RGBA
  int width_ = 0;
  int height_ = 0;
  int timestamp_ = 0;
  const ByteSink* sink_ = nullptr;
  WebPConfig config_{};
  WebPAnimEncoder* encoder_ = nullptr;
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeWebpEncoder(int delayMilliseconds,
                                                  std::optional<int> quality) {
  return std::make_unique<WebpEncoder>(delayMilliseconds, quality);
}

}  // namespace kinetta::exporter
