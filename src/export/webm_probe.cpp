// A WebM file measured through libavformat, as a player would open it: the first video stream's
// codec, size and alpha (the Matroska track's AlphaMode, which VP9 needs to carry transparency),
// its frames counted packet by packet, and whether any audio stream is there. The same from the
// bytes in memory, and the frames decoded as a player shows them, the opacity too.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/text_lookup.h"
#include "export/export_messages.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

using Measured = base::Result<StickerMeasure>;

// The failures give the reason alone: the caller names the file.
Measured LibraryFailure(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return Measured::Failed(
      code == AVERROR(ENOMEM) ? base::Cause::OutOfMemory : base::Cause::BrokenData,
      LibraryFailureMessage("WebM", kWebmReadText, text));
}

constexpr int kReadBufferSize = 1 << 16;

// The file's bytes in memory, read and sought as a file.
struct MemoryInput {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t at = 0;
};

int ReadMemory(void* opaque, std::uint8_t* into, int size) {
  MemoryInput& m = *static_cast<MemoryInput*>(opaque);
  const std::size_t count = std::min(static_cast<std::size_t>(std::max(size, 0)), m.size - m.at);
  if (count == 0) return AVERROR_EOF;
  std::memcpy(into, m.data + m.at, count);
  m.at += count;
  return static_cast<int>(count);
}

std::int64_t SeekMemory(void* opaque, std::int64_t offset, int whence) {
  MemoryInput& m = *static_cast<MemoryInput*>(opaque);
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return static_cast<std::int64_t>(m.size);
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += static_cast<std::int64_t>(m.at);
      break;
    case SEEK_END:
      offset += static_cast<std::int64_t>(m.size);
      break;
    default:
      return AVERROR(EINVAL);
  }
  if (offset < 0 || offset > static_cast<std::int64_t>(m.size)) return AVERROR(EINVAL);
  m.at = static_cast<std::size_t>(offset);
  return offset;
}

// A WebM opened from its file, or from memory when `path` is null; closed with the object.
class Input {
 public:
  ~Input() {
    avformat_close_input(&context_);
    if (io_ != nullptr) {
      av_freep(&io_->buffer);
      avio_context_free(&io_);
    }
  }

  int Open(const char* path, const std::uint8_t* data, std::size_t size) {
    av_log_set_level(AV_LOG_QUIET);
    if (path == nullptr) {
      memory_ = {data, size, 0};
      auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferSize));
      io_ = buffer != nullptr ? avio_alloc_context(buffer, kReadBufferSize, 0, &memory_, ReadMemory,
                                                   nullptr, SeekMemory)
                              : nullptr;
      if (io_ == nullptr) av_free(buffer);
      context_ = avformat_alloc_context();
      if (io_ == nullptr || context_ == nullptr) return AVERROR(ENOMEM);
      context_->pb = io_;
      context_->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    // On failure avformat_open_input frees the context and sets it to null.
    return avformat_open_input(&context_, path != nullptr ? path : "", nullptr, nullptr);
  }

  AVFormatContext* context() const { return context_; }

 private:
  MemoryInput memory_;
  AVIOContext* io_ = nullptr;
  AVFormatContext* context_ = nullptr;
};

Measured Measure(const char* path, const std::uint8_t* data, std::size_t size) {
  Input input;
  if (const int e = input.Open(path, data, size); e < 0) return LibraryFailure(e);
  AVFormatContext* context = input.context();
  StickerMeasure m;
  m.container = StickerContainer::WebM;
  int video = -1;
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    const AVCodecParameters* p = context->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_AUDIO) m.audio = true;
    if (p->codec_type == AVMEDIA_TYPE_VIDEO && video < 0) video = static_cast<int>(i);
  }
  if (video < 0) {
    return Measured::Failed(base::Cause::BrokenData, base::Text(kNoVideoStreamReason));
  }
  const AVStream* stream = context->streams[video];
  m.codec = avcodec_get_name(stream->codecpar->codec_id);
  m.width = stream->codecpar->width;
  m.height = stream->codecpar->height;
  const AVDictionaryEntry* alpha = av_dict_get(stream->metadata, "alpha_mode", nullptr, 0);
  m.transparency = alpha != nullptr && std::strcmp(alpha->value, "1") == 0;

  // The frames, one packet each. A WebM counts milliseconds, so a frame's own time is rounded
  // (at 30 a second: 33, 33, 34 ms); one loop is the frames times the mean step between their
  // starts, which the rounding leaves exact, or a single frame's own time.
  AVPacket* packet = av_packet_alloc();
  if (packet == nullptr) return LibraryFailure(AVERROR(ENOMEM));
  std::int64_t first = AV_NOPTS_VALUE, last = AV_NOPTS_VALUE, lastTime = 0;
  int e = 0;
  while ((e = av_read_frame(context, packet)) >= 0) {
    if (packet->stream_index == video && packet->pts != AV_NOPTS_VALUE) {
      ++m.frames;
      first = first == AV_NOPTS_VALUE ? packet->pts : std::min(first, packet->pts);
      if (last == AV_NOPTS_VALUE || packet->pts >= last) {
        last = packet->pts;
        lastTime = packet->duration;
      }
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  if (e != AVERROR_EOF) return LibraryFailure(e);
  const double tick = av_q2d(stream->time_base);
  if (m.frames > 1) {
    m.loopSeconds = static_cast<double>(last - first) * tick * m.frames / (m.frames - 1);
  } else if (m.frames == 1) {
    m.loopSeconds = lastTime > 0            ? static_cast<double>(lastTime) * tick
                    : context->duration > 0 ? static_cast<double>(context->duration) / AV_TIME_BASE
                                            : 0.0;
  }
  return m;
}

}  // namespace

Measured MeasureWebm(const char* path) { return Measure(path, nullptr, 0); }

Measured MeasureWebmBytes(const std::uint8_t* data, std::size_t size) {
  return Measure(nullptr, data, size);
}

base::Status DecodeWebm(const std::uint8_t* data, std::size_t size,
                        const std::function<void(const render::Surface&)>& shown) {
  Input input;
  if (const int e = input.Open(nullptr, data, size); e < 0) return LibraryFailure(e).status();
  AVFormatContext* context = input.context();
  const int video = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video < 0) return base::Status::Failed(base::Cause::BrokenData, kNoVideoStreamReason);
  const AVCodecParameters* parameters = context->streams[video]->codecpar;
  // libvpx's own decoder reads the opacity that rides beside each VP9 frame; FFmpeg's reads
  // the colour only.
  const AVCodec* codec = parameters->codec_id == AV_CODEC_ID_VP9
                             ? avcodec_find_decoder_by_name("libvpx-vp9")
                             : nullptr;
  if (codec == nullptr) codec = avcodec_find_decoder(parameters->codec_id);
  if (codec == nullptr) {
    return base::Status::Failed(base::Cause::Unsupported,
                                NoEncoderText(avcodec_get_name(parameters->codec_id)));
  }
  struct Owned {
    AVCodecContext* decoder = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* convert = nullptr;
    ~Owned() {
      sws_freeContext(convert);
      av_frame_free(&frame);
      av_packet_free(&packet);
      avcodec_free_context(&decoder);
    }
  } o;
  o.decoder = avcodec_alloc_context3(codec);
  if (o.decoder == nullptr || o.packet == nullptr || o.frame == nullptr) {
    return LibraryFailure(AVERROR(ENOMEM)).status();
  }
  if (int e = avcodec_parameters_to_context(o.decoder, parameters); e < 0) {
    return LibraryFailure(e).status();
  }
  if (int e = avcodec_open2(o.decoder, codec, nullptr); e < 0) return LibraryFailure(e).status();
  render::Surface picture;
  // Each decoded picture as RGBA, its opacity turned into the surface's transparency byte.
  const auto receive = [&]() -> int {
    int e = 0;
    while ((e = avcodec_receive_frame(o.decoder, o.frame)) >= 0) {
      const int w = o.frame->width, h = o.frame->height;
      const auto format = static_cast<AVPixelFormat>(o.frame->format);
      o.convert = sws_getCachedContext(o.convert, w, h, format, w, h, AV_PIX_FMT_RGBA,
                                       SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
                                       nullptr, nullptr);
      if (o.convert == nullptr) return AVERROR(EINVAL);
      // The writer's colours: BT.601's matrix, limited range.
      const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
      sws_setColorspaceDetails(o.convert, bt601, 0, bt601, 1, 0, 1 << 16, 1 << 16);
      if (picture.width() != w || picture.height() != h) picture.Reset(w, h, 0);
      auto* rgba = reinterpret_cast<std::uint8_t*>(picture.Row(0));
      const int stride = w * 4;
      sws_scale(o.convert, o.frame->data, o.frame->linesize, 0, h, &rgba, &stride);
      if (format != AV_PIX_FMT_YUVA420P) {
        for (int y = 0; y < h; ++y) {
          std::uint32_t* row = picture.Row(y);
          for (int x = 0; x < w; ++x) row[x] |= 0xFF000000u;
        }
      }
      for (int y = 0; y < h; ++y) {
        std::uint32_t* row = picture.Row(y);
        for (int x = 0; x < w; ++x) row[x] ^= 0xFF000000u;
      }
      shown(picture);
      av_frame_unref(o.frame);
    }
    return e == AVERROR(EAGAIN) || e == AVERROR_EOF ? 0 : e;
  };
  int e = 0;
  while ((e = av_read_frame(context, o.packet)) >= 0) {
    if (o.packet->stream_index == video) e = avcodec_send_packet(o.decoder, o.packet);
    av_packet_unref(o.packet);
    if (e < 0 || (e = receive()) < 0) return LibraryFailure(e).status();
  }
  if (e != AVERROR_EOF) return LibraryFailure(e).status();
  if ((e = avcodec_send_packet(o.decoder, nullptr)) < 0 || (e = receive()) < 0) {
    return LibraryFailure(e).status();
  }
  return base::Status::Ok();
}

}  // namespace kinetta::exporter
