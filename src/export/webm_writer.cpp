// The WebM: VP9 from libvpx, the video that browsers play with transparency. Frames that have
// some go in as yuva420p (libvpx codes the opacity as a second picture beside the colour),
// opaque ones as plain yuv420p. VP9 takes odd sides as they are. A sticker's WebM is coded to
// a byte budget instead: two passes at a mean bitrate, one key frame for the whole loop.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "export/animation_encoder.h"
#include "export/export_messages.h"
#include "export/video_output.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// libvpx's constant quality (0-63, lower is better): 24 on photo-like frames comes within
// 1.6 dB of the MP4 in half its bytes.
constexpr const char* kQuality = "24";
// libvpx's speed: on 12 frames of photo-like 1080p, 4 took half the time of 2 for a file 16 %
// larger at 0.4 dB less (35.0 dB, against the MP4's 36.6 dB in twice the bytes).
constexpr const char* kSpeed = "4";
// Frames libvpx holds to look ahead over (25 by default): 10, as x264 gets, a fifth less memory.
constexpr const char* kLookahead = "10";
constexpr unsigned kMaxThreads = 8;
// The second pass's speed at a bitrate: 5, the fastest of libvpx's good-quality speeds (those
// above it took as long). Without alternate reference frames: on 24 frames of 512 x 402 with
// transparency they took 45 % of the time, for a file that loops whole anyway.
constexpr const char* kRateSpeed = "5";

class WebmEncoder final : public AnimationEncoder {
 public:
  WebmEncoder(int delayMilliseconds, std::optional<WebmRate> rate)
      : delay_(delayMilliseconds), rate_(rate), output_("WebM") {}

  ~WebmEncoder() override { sws_freeContext(convert_); }

  int MaxSide() const override { return 16384; }
  // libvpx's frames ahead and working pictures: measured on 12 opaque frames of 1920 x 1080,
  // 123 bytes a pixel; the opacity's own encoder, when there is some, holds its frames ahead
  // too (not yet known when this is asked).
  int HeldBytesPerPixel() const override { return 176; }

  void Learn(const Surface& frame) override {
    if (transparent_) return;
    for (int y = 0; y < frame.height() && !transparent_; ++y) {
      const std::uint32_t* row = frame.Row(y);
      transparent_ = std::any_of(row, row + frame.width(), [](std::uint32_t c) { return c >> 24; });
    }
  }

  base::Status Start(int width, int height, int frameCount, const ByteSink& sink) override {
    const AVPixelFormat format = transparent_ ? AV_PIX_FMT_YUVA420P : AV_PIX_FMT_YUV420P;
    VideoSetup setup;
    setup.container = "webm";
    setup.codec = "libvpx-vp9";
    setup.width = width;
    setup.height = height;
    setup.pixelFormat = format;
    setup.timing = TimingOf(delay_);
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    setup.codecOptions = {{"crf", kQuality},
                          {"b", "0"},
                          {"cpu-used", kSpeed},
                          {"row-mt", "1"},
                          {"deadline", "good"},
                          {"threads", std::to_string(threads)},
                          {"lag-in-frames", kLookahead}};
    if (rate_) {
      // libavcodec's 12 frames between key frames would spend a loop's bytes on pictures
      // that start afresh; one at the start is enough for a file that is played whole.
      setup.codecOptions = {{"b", std::to_string(rate_->kilobitsPerSecond * 1000)},
                            {"cpu-used", kRateSpeed},
                            {"row-mt", "1"},
                            {"deadline", "good"},
                            {"threads", std::to_string(threads)},
                            {"g", std::to_string(std::max(frameCount, 1))},
                            {"auto-alt-ref", "0"}};
      setup.frameTimeBase = true;
      setup.pass = rate_->pass;
      setup.twoPassStats = rate_->stats;
    }
    setup.tagColours = true;
    if (base::Status opened = output_.Open(setup, sink); !opened.ok()) return opened;
    // Surface rows lie in memory as R, G, B and the transparency: FFmpeg's RGBA once the
    // last byte is turned into opacity, RGB0 when there is none.
    convert_ =
        sws_getContext(width, height, transparent_ ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB0, width,
                       height, format, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (convert_ == nullptr) {
      return base::Status::Failed(base::Cause::Io, EncoderMessage("WebM", kColourConversionText));
    }
    // The MP4's colours: BT.601's matrix, limited range, as the stream says.
    const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(convert_, bt601, 1, bt601, 0, 0, 1 << 16, 1 << 16);
    if (transparent_) opacity_.Reset(width, height, 0);
    return base::Status::Ok();
  }

  base::Status Add(const Surface& frame) override {
    const Surface* picture = &frame;
    if (transparent_) {
      // The top byte says how transparent a pixel is; RGBA's last byte is its opacity.
      for (int y = 0; y < frame.height(); ++y) {
        const std::uint32_t* in = frame.Row(y);
        std::uint32_t* out = opacity_.Row(y);
        for (int x = 0; x < frame.width(); ++x) out[x] = in[x] ^ 0xFF000000u;
      }
      picture = &opacity_;
    }
    AVFrame* out = output_.NextFrame();
    const auto* rgb = reinterpret_cast<const std::uint8_t*>(picture->Row(0));
    const int stride = picture->width() * 4;
    sws_scale(convert_, &rgb, &stride, 0, picture->height(), out->data, out->linesize);
    return output_.Send();
  }

  base::Status Finish() override { return output_.Finish(); }

 private:
  int delay_;
  std::optional<WebmRate> rate_;
  bool transparent_ = false;  // some pixel of some frame is not opaque
  VideoOutput output_;
  SwsContext* convert_ = nullptr;
  Surface opacity_;
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeWebmEncoder(int delayMilliseconds) {
  return std::make_unique<WebmEncoder>(delayMilliseconds, std::nullopt);
}

std::unique_ptr<AnimationEncoder> MakeWebmEncoderAtRate(int delayMilliseconds,
                                                        const WebmRate& rate) {
  return std::make_unique<WebmEncoder>(delayMilliseconds, rate);
}

}  // namespace kinetta::exporter
