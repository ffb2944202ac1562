// The MP4: H.264 from libx264 in yuv420p, which every player takes. 4:2:0 needs an even width
// and height, so a frame with an odd side gets one more column or row in the padding colour.
// H.264 has no transparency: frames that have some are laid over the background colour.
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
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// x264's quality scale: 18 looks like the frames; each 6 up halves the size.
constexpr const char* kQuality = "18";
// x264's speed presets trade encoding time for size at the same quality; the default
// ("medium", what the ffmpeg program uses) makes files 1 to 4 % smaller than "fast" on
// photo-like frames.
constexpr const char* kPreset = "medium";
// x264 holds every frame it looks ahead over and about one per encoding thread: with the
// preset's 40 frames ahead and a thread for each core that was 185 bytes a pixel on 2 cores,
// and more on every further core. 10 frames ahead made the bench's animations 0.5 to 7 %
// smaller at the same quality to within 0.12 dB, a quarter faster, with a third less memory;
// the threads stop at 8, where frames this size gain little from more.
constexpr const char* kLookahead = "10";
constexpr unsigned kMaxThreads = 8;

class Mp4Encoder final : public AnimationEncoder {
 public:
  Mp4Encoder(int delayMilliseconds, std::optional<render::Colour> padding)
      : delay_(delayMilliseconds), padding_(padding), output_("MP4") {}

  ~Mp4Encoder() override { sws_freeContext(convert_); }

  // The largest levels of H.264 hold frames about this wide.
  int MaxSide() const override { return 16384; }
  // x264's frames ahead and those of its threads, the frame in 4:2:0 and the padded copy:
  // measured on 40 frames of 1920 x 2160, 96 bytes a pixel with 2 threads, 143 with 8.
  int HeldBytesPerPixel() const override { return 80 + 8 * static_cast<int>(threads_); }

  void Learn(const Surface& frame) override {
    if (transparent_) return;
    for (int y = 0; y < frame.height() && !transparent_; ++y) {
      const std::uint32_t* row = frame.Row(y);
      transparent_ = std::any_of(row, row + frame.width(), [](std::uint32_t c) { return c >> 24; });
    }
  }

  base::Status Start(int width, int height, int, const ByteSink& sink) override {
    width_ = width + (width % 2);
    height_ = height + (height % 2);
    VideoSetup setup;
    setup.container = "mp4";
    setup.codec = "libx264";
    setup.width = width_;
    setup.height = height_;
    setup.pixelFormat = AV_PIX_FMT_YUV420P;
    setup.timing = TimingOf(delay_);
    setup.codecOptions = {{"preset", kPreset},
                          {"crf", kQuality},
                          {"rc-lookahead", kLookahead},
                          {"threads", std::to_string(threads_)}};
    setup.containerOptions = {{"movflags", "+faststart"}};
    setup.tagColours = true;
    if (base::Status opened = output_.Open(setup, sink); !opened.ok()) return opened;
    // Surface rows lie in memory as R, G, B, unused: FFmpeg's RGB0.
    convert_ = sws_getContext(width_, height_, AV_PIX_FMT_RGB0, width_, height_, AV_PIX_FMT_YUV420P,
                              SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (convert_ == nullptr) {
      return base::Status::Failed(base::Cause::Io, EncoderMessage("MP4", kColourConversionText));
    }
    // BT.601's matrix: with colour shared by 2 x 2 pixels it keeps the frames' red, green and
    // blue nearer than BT.709's (0.1 to 0.7 dB) in a smaller file; the stream says which it is.
    const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(convert_, bt601, 1, bt601, 0, 0, 1 << 16, 1 << 16);
    if (width_ != width || height_ != height) padded_.Reset(width_, height_, 0);
    if (transparent_) laid_.Reset(width, height, 0);
    return base::Status::Ok();
  }

  base::Status Add(const Surface& given) override {
    const Surface& frame = transparent_ ? LaidOver(given) : given;
    const Surface* picture = &frame;
    if (!padded_.empty()) {
      Pad(frame);
      picture = &padded_;
    }
    AVFrame* out = output_.NextFrame();
    const auto* rgb = reinterpret_cast<const std::uint8_t*>(picture->Row(0));
    const int stride = picture->width() * 4;
    sws_scale(convert_, &rgb, &stride, 0, height_, out->data, out->linesize);
    return output_.Send();
  }

  base::Status Finish() override { return output_.Finish(); }

 private:
  // The frame over the background colour (black when it is not known).
  const Surface& LaidOver(const Surface& frame) {
    const render::Colour back = padding_.value_or(0);
    for (int y = 0; y < frame.height(); ++y) {
      const std::uint32_t* in = frame.Row(y);
      std::uint32_t* out = laid_.Row(y);
      for (int x = 0; x < frame.width(); ++x) {
        out[x] = static_cast<std::uint32_t>(render::Over(static_cast<render::Colour>(in[x]), back));
      }
    }
    return laid_;
  }

  // The frame with its extra column and row: the background colour when it is known, otherwise
  // the frame's own edge repeated.
  void Pad(const Surface& frame) {
    const int w = frame.width();
    const int h = frame.height();
    padded_.CopyFrom(frame, 0, 0, w, h, 0, 0);
    for (int y = 0; y < height_; ++y) {
      for (int x = (y < h ? w : 0); x < width_; ++x) {
        padded_.PSet(x, y,
                     padding_ ? *padding_ : frame.Point(std::min(x, w - 1), std::min(y, h - 1)));
      }
    }
  }

  int delay_;
  std::optional<render::Colour> padding_;
  int width_ = 0;
  int height_ = 0;
  bool transparent_ = false;  // some pixel of some frame is not opaque
  VideoOutput output_;
  SwsContext* convert_ = nullptr;
  Surface padded_;
  Surface laid_;
  const unsigned threads_ = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeMp4Encoder(int delayMilliseconds,
                                                 std::optional<render::Colour> padding) {
  return std::make_unique<Mp4Encoder>(delayMilliseconds, padding);
}

}  // namespace kinetta::exporter
