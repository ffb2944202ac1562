// libavformat writing into a memory buffer with seeking, or straight to the file's sink, and
// the encode loop: frames in, packets out, each packet timed and put into the container.
#include "export/video_output.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/messages.h"
#include "export/export_messages.h"

namespace kinetta::exporter {

namespace {

constexpr int kIoBufferSize = 1 << 16;

// The file being made, in memory; each AVIOContext over it reads and writes at its own place.
struct MemoryFile {
  std::vector<std::uint8_t> bytes;
};

struct Cursor {
  MemoryFile* file = nullptr;
  std::int64_t pos = 0;
};

int WriteBytes(void* opaque, std::uint8_t* data, int size) {
  Cursor& c = *static_cast<Cursor*>(opaque);
  const std::size_t pos = static_cast<std::size_t>(c.pos);
  const std::size_t count = static_cast<std::size_t>(size);
  if (c.file->bytes.size() < pos + count) c.file->bytes.resize(pos + count);
  std::memcpy(c.file->bytes.data() + pos, data, count);
  c.pos += size;
  return size;
}

int ReadBytes(void* opaque, std::uint8_t* data, int size) {
  Cursor& c = *static_cast<Cursor*>(opaque);
  const std::int64_t left = static_cast<std::int64_t>(c.file->bytes.size()) - c.pos;
  if (left <= 0) return AVERROR_EOF;
  const int count = static_cast<int>(std::min<std::int64_t>(left, size));
  std::memcpy(data, c.file->bytes.data() + c.pos, static_cast<std::size_t>(count));
  c.pos += count;
  return count;
}

std::int64_t SeekBytes(void* opaque, std::int64_t offset, int whence) {
  Cursor& c = *static_cast<Cursor*>(opaque);
  const auto size = static_cast<std::int64_t>(c.file->bytes.size());
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
      return size;
    case SEEK_SET:
      break;
    case SEEK_CUR:
      offset += c.pos;
      break;
    case SEEK_END:
      offset += size;
      break;
    default:
      return AVERROR(EINVAL);
  }
  if (offset < 0) return AVERROR(EINVAL);
  c.pos = offset;
  return offset;
}

// The file's sink, written in order as the container goes.
int WriteToSink(void* opaque, std::uint8_t* data, int size) {
  const ByteSink& sink = *static_cast<const ByteSink*>(opaque);
  // A refused write is the file writer's to report; FFmpeg is told only to stop.
  return sink(data, static_cast<std::size_t>(size)) ? size : AVERROR(EIO);
}

AVIOContext* OpenCursor(Cursor* cursor, bool write) {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
  if (buffer == nullptr) return nullptr;
  AVIOContext* io =
      avio_alloc_context(buffer, kIoBufferSize, write ? 1 : 0, cursor, write ? nullptr : ReadBytes,
                         write ? WriteBytes : nullptr, SeekBytes);
  if (io == nullptr) av_free(buffer);
  return io;
}

void CloseCursor(AVIOContext* io) {
  if (io == nullptr) return;
  delete static_cast<Cursor*>(io->opaque);
  av_freep(&io->buffer);
  avio_context_free(&io);
}

// The MP4 muxer's second pass (moving the index to the front) opens the output again to read
// it: here that is another cursor over the same bytes.
int OpenAgain(AVFormatContext* s, AVIOContext** pb, const char*, int flags, AVDictionary**) {
  if ((flags & AVIO_FLAG_WRITE) != 0) return AVERROR(EPERM);
  auto* cursor = new Cursor{static_cast<MemoryFile*>(s->opaque), 0};
  *pb = OpenCursor(cursor, false);
  if (*pb == nullptr) {
    delete cursor;
    return AVERROR(ENOMEM);
  }
  return 0;
}

int CloseAgain(AVFormatContext*, AVIOContext* pb) {
  CloseCursor(pb);
  return 0;
}

}  // namespace

VideoTiming TimingOf(int delayMilliseconds) {
  const int ms = std::max(1, delayMilliseconds);
  if (1000 % ms == 0) return {1000 / ms, 1};
  return {1000, ms};
}

struct VideoOutput::State {
  MemoryFile file;
  const ByteSink* sink = nullptr;
  bool streamed = false;
  std::function<int(AVPacket*)> beforeWrite;
  Cursor* writeCursor = nullptr;  // owned by the AVIOContext, freed with it
  AVIOContext* io = nullptr;
  AVFormatContext* container = nullptr;
  AVCodecContext* encoder = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  std::int64_t frameTicks = 1;
  std::int64_t next = 0;  // the next frame's number
  int pass = 0;
  std::string* twoPassStats = nullptr;

  ~State() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
    avformat_free_context(container);
    if (streamed && io != nullptr) {
      av_freep(&io->buffer);
      avio_context_free(&io);
    }
    CloseCursor(io);
  }
};

VideoOutput::VideoOutput(std::string label)
    : label_(std::move(label)), state_(std::make_unique<State>()) {}

VideoOutput::~VideoOutput() = default;

base::Status VideoOutput::Error(std::string_view doing, int code) const {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return base::Status::Failed(code == AVERROR(ENOMEM) ? base::Cause::OutOfMemory : base::Cause::Io,
                              LibraryFailureMessage(label_, doing, text));
}

base::Status VideoOutput::OutOfMemory() const {
  return base::Status::Failed(base::Cause::OutOfMemory,
                              EncoderMessage(label_, base::kOutOfMemoryMessage));
}

namespace {

AVDictionary* Dictionary(const std::vector<std::pair<std::string, std::string>>& options) {
  AVDictionary* d = nullptr;
  for (const auto& [key, value] : options) av_dict_set(&d, key.c_str(), value.c_str(), 0);
  return d;
}

}  // namespace

base::Status VideoOutput::Open(const VideoSetup& setup, const ByteSink& sink) {
  // Failures come back as messages; the libraries' own log would only clutter the terminal.
  av_log_set_level(AV_LOG_QUIET);
  State& s = *state_;
  int rc = avformat_alloc_output_context2(&s.container, nullptr, setup.container, nullptr);
  if (rc < 0) return Error(ContainerUnwritableText(setup.container), rc);
  const AVCodec* codec = avcodec_find_encoder_by_name(setup.codec);
  if (codec == nullptr) {
    return base::Status::Failed(base::Cause::Unsupported,
                                EncoderMessage(label_, NoEncoderText(setup.codec)));
  }
  s.encoder = avcodec_alloc_context3(codec);
  s.frame = av_frame_alloc();
  s.packet = av_packet_alloc();
  s.sink = &sink;
  s.streamed = setup.streamed;
  s.beforeWrite = setup.beforeWrite;
  if (s.streamed) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    s.io = buffer != nullptr
               ? avio_alloc_context(buffer, kIoBufferSize, 1, const_cast<ByteSink*>(&sink), nullptr,
                                    WriteToSink, nullptr)
               : nullptr;
    if (s.io == nullptr) av_free(buffer);
  } else {
    s.writeCursor = new Cursor{&s.file, 0};
    s.io = OpenCursor(s.writeCursor, true);
    if (s.io == nullptr) delete s.writeCursor;
  }
  if (s.encoder == nullptr || s.frame == nullptr || s.packet == nullptr || s.io == nullptr) {
    return OutOfMemory();
  }
  s.container->pb = s.io;
  s.container->flags |= AVFMT_FLAG_CUSTOM_IO;
  if (!s.streamed) {
    s.container->opaque = &s.file;
    s.container->io_open = OpenAgain;
    s.container->io_close2 = CloseAgain;
  }

  const AVRational tick{1, setup.timing.ticksPerSecond};
  s.frameTicks = setup.timing.frameTicks;
  s.encoder->width = setup.width;
  s.encoder->height = setup.height;
  s.encoder->pix_fmt = static_cast<AVPixelFormat>(setup.pixelFormat);
  AVRational encoderTick = tick;
  if (setup.frameTimeBase) {
    av_reduce(&encoderTick.num, &encoderTick.den, setup.timing.frameTicks,
              setup.timing.ticksPerSecond, 1 << 30);
    s.frameTicks = 1;
  }
  s.encoder->time_base = encoderTick;
  av_reduce(&s.encoder->framerate.num, &s.encoder->framerate.den, setup.timing.ticksPerSecond,
            setup.timing.frameTicks, 1 << 30);
  s.encoder->thread_count = 0;  // as many as there are cores
  if (setup.tagColours) {
    s.encoder->color_primaries = AVCOL_PRI_BT709;
    s.encoder->color_trc = AVCOL_TRC_BT709;
    s.encoder->colorspace = AVCOL_SPC_SMPTE170M;
    s.encoder->color_range = AVCOL_RANGE_MPEG;
  }
  if ((s.container->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
    s.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }
  s.pass = setup.pass;
  s.twoPassStats = setup.twoPassStats;
  if (s.pass == 1) s.encoder->flags |= AV_CODEC_FLAG_PASS1;
  if (s.pass == 2 && s.twoPassStats != nullptr) {
    s.encoder->flags |= AV_CODEC_FLAG_PASS2;
    // Read by the encoder as it opens; the caller keeps the text until then.
    s.encoder->stats_in = s.twoPassStats->data();
  }
  AVDictionary* codecOptions = Dictionary(setup.codecOptions);
  rc = avcodec_open2(s.encoder, codec, &codecOptions);
  av_dict_free(&codecOptions);
  s.encoder->stats_in = nullptr;
  if (rc < 0) return Error(kEncoderStartText, rc);

  s.stream = avformat_new_stream(s.container, nullptr);
  if (s.stream == nullptr) return OutOfMemory();
  rc = avcodec_parameters_from_context(s.stream->codecpar, s.encoder);
  if (rc < 0) return Error(kEncoderStartText, rc);
  s.stream->time_base = tick;
  s.stream->avg_frame_rate = s.encoder->framerate;
  AVDictionary* containerOptions = Dictionary(setup.containerOptions);
  rc = avformat_write_header(s.container, &containerOptions);
  av_dict_free(&containerOptions);
  if (rc < 0) return Error(kFileStartText, rc);

  s.frame->format = setup.pixelFormat;
  s.frame->width = setup.width;
  s.frame->height = setup.height;
  rc = av_frame_get_buffer(s.frame, 0);
  // Only the picture's memory is taken here.
  if (rc < 0) return OutOfMemory();
  return base::Status::Ok();
}

AVFrame* VideoOutput::NextFrame() {
  // The encoder may still hold the previous picture; then the frame gets fresh memory.
  av_frame_make_writable(state_->frame);
  return state_->frame;
}

base::Status VideoOutput::Send() {
  State& s = *state_;
  s.frame->pts = s.next * s.frameTicks;
  ++s.next;
  const int rc = avcodec_send_frame(s.encoder, s.frame);
  if (rc < 0) return Error(kFrameEncodeText, rc);
  return Drain();
}

base::Status VideoOutput::Drain() {
  State& s = *state_;
  while (true) {
    int rc = avcodec_receive_packet(s.encoder, s.packet);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return base::Status::Ok();
    if (rc < 0) return Error(kFrameEncodeText, rc);
    // Every frame lasts the same, the last one too.
    s.packet->duration = s.frameTicks;
    av_packet_rescale_ts(s.packet, s.encoder->time_base, s.stream->time_base);
    s.packet->stream_index = s.stream->index;
    if (s.beforeWrite) {
      rc = s.beforeWrite(s.packet);
      if (rc < 0) {
        av_packet_unref(s.packet);
        return Error(kFileWriteText, rc);
      }
    }
    rc = av_write_frame(s.container, s.packet);
    av_packet_unref(s.packet);
    if (rc < 0) return Error(kFileWriteText, rc);
  }
}

base::Status VideoOutput::Finish() {
  State& s = *state_;
  int rc = avcodec_send_frame(s.encoder, nullptr);
  if (rc < 0) return Error(kFrameEncodeText, rc);
  if (base::Status drained = Drain(); !drained.ok()) return drained;
  if (s.pass == 1 && s.twoPassStats != nullptr) {
    *s.twoPassStats = s.encoder->stats_out != nullptr ? s.encoder->stats_out : "";
  }
  rc = av_write_trailer(s.container);
  if (rc < 0) return Error(kFileCloseText, rc);
  avio_flush(s.io);
  // A failed write is reported by the file, which saw its error.
  if (!s.streamed) (*s.sink)(s.file.bytes.data(), s.file.bytes.size());
  return base::Status::Ok();
}

}  // namespace kinetta::exporter
