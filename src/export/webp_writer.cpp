// The animated WebP: every frame lossless through libwebp's animation encoder, which stores
// only the part of each frame that changed. The file is assembled in memory and written at the
// end.
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/messages.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// libwebp's lossless effort preset (0 fastest .. 9 smallest). 2 is a few times faster than the
// default, for files a few per cent larger.
constexpr int kLosslessLevel = 2;

class WebpEncoder final : public AnimationEncoder {
 public:
  explicit WebpEncoder(int delayMilliseconds) : delay_(delayMilliseconds) {}

  ~WebpEncoder() override {
    if (encoder_ != nullptr) WebPAnimEncoderDelete(encoder_);
  }

  // The bitstream's 14-bit width and height fields.
  int MaxSide() const override { return WEBP_MAX_DIMENSION; }
  // The frame given to the library and its canvases: the previous, the current and the
  // candidate sub-frames it compares.
  int HeldBytesPerPixel() const override { return 40; }

  void Learn(const Surface&) override {}

  base::Status Start(int width, int height, int, const ByteSink& sink) override {
    sink_ = &sink;
    width_ = width;
    height_ = height;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_) ||
        !WebPConfigLosslessPreset(&config_, kLosslessLevel)) {
      return VersionMismatch();
    }
    options.anim_params.loop_count = 0;  // for ever
    options.allow_mixed = 0;
    config_.lossless = 1;
    config_.exact = 1;
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
    // Surface rows lie in memory as R, G, B, unused: libwebp's RGBX.
    bool ok = WebPPictureImportRGBX(&picture, reinterpret_cast<const std::uint8_t*>(frame.Row(0)),
                                    static_cast<int>(sizeof(std::uint32_t)) * frame.width());
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
  int width_ = 0;
  int height_ = 0;
  int timestamp_ = 0;
  const ByteSink* sink_ = nullptr;
  WebPConfig config_{};
  WebPAnimEncoder* encoder_ = nullptr;
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeWebpEncoder(int delayMilliseconds) {
  return std::make_unique<WebpEncoder>(delayMilliseconds);
}

}  // namespace kinetta::exporter
