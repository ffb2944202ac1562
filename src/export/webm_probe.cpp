// A WebM file measured through libavformat, as a player would open it: the first video stream's
// codec, size and alpha (the Matroska track's AlphaMode, which VP9 needs to carry transparency),
// its frames counted packet by packet, and whether any audio stream is there.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <algorithm>
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

}  // namespace

Measured MeasureWebm(const char* path) {
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* context = nullptr;
  if (const int e = avformat_open_input(&context, path, nullptr, nullptr); e < 0) {
    return LibraryFailure(e);
  }
  struct Closer {
    AVFormatContext** context;
    ~Closer() { avformat_close_input(context); }
  } closer{&context};
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

}  // namespace kinetta::exporter
