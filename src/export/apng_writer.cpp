// The APNG: every frame lossless in 24-bit RGB through libavcodec's APNG encoder, which stores
// only the part of each frame that changed, and libavformat's APNG muxer, told to play for ever.
#include <cstdint>
#include <memory>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

#include "export/animation_encoder.h"
#include "export/video_output.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

class ApngEncoder final : public AnimationEncoder {
 public:
  explicit ApngEncoder(int delayMilliseconds) : delay_(delayMilliseconds), output_("APNG") {}

  // libavcodec refuses larger pictures; very long thin ones may fail in Start with the reason.
  int MaxSide() const override { return 32767; }

  void Learn(const Surface&) override {}

  base::Status Start(int width, int height, int, const ByteSink& sink) override {
    sink_ = &sink;
    VideoSetup setup;
    setup.container = "apng";
    setup.codec = "apng";
    setup.width = width;
    setup.height = height;
    setup.pixelFormat = AV_PIX_FMT_RGB24;
    // Milliseconds always: each frame's delay is a fraction of a second in the file.
    setup.timing = {1000, delay_};
    setup.containerOptions = {{"plays", "0"}};
    return output_.Open(setup);
  }

  base::Status Add(const Surface& frame) override {
    AVFrame* out = output_.NextFrame();
    for (int y = 0; y < frame.height(); ++y) {
      const std::uint32_t* in = frame.Row(y);
      std::uint8_t* row = out->data[0] + static_cast<std::ptrdiff_t>(y) * out->linesize[0];
      for (int x = 0; x < frame.width(); ++x) {
        const std::uint32_t c = in[x];
        *row++ = static_cast<std::uint8_t>(c);
        *row++ = static_cast<std::uint8_t>(c >> 8);
        *row++ = static_cast<std::uint8_t>(c >> 16);
      }
    }
    return output_.Send();
  }

  base::Status Finish() override { return output_.Finish(*sink_); }

 private:
  int delay_;
  const ByteSink* sink_ = nullptr;
  VideoOutput output_;
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeApngEncoder(int delayMilliseconds) {
  return std::make_unique<ApngEncoder>(delayMilliseconds);
}

}  // namespace kinetta::exporter
