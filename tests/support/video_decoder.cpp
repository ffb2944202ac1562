#include "video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "render/transparency.h"

namespace kinetta::test {

namespace {

// The plays field of an APNG's acTL chunk, or -1.
int PngPlays(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = bytes.find("acTL");
  if (at == std::string::npos || at + 12 > bytes.size()) return -1;
  int plays = 0;
  for (std::size_t i = at + 8; i < at + 12; ++i)
    plays = plays * 256 + static_cast<std::uint8_t>(bytes[i]);
  return plays;
}

// The decoded picture as a surface: RGB copied as it is, YUV converted with the colours the
// stream is tagged with (BT.601 when untagged, as players do at these sizes); a picture with
// opacity (or a palette, which may have some) keeps it in the top byte as the frames do.
render::Surface ToSurface(const AVFrame* f) {
  render::Surface out(f->width, f->height, 0);
  const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
  const bool alpha = (desc->flags & (AV_PIX_FMT_FLAG_ALPHA | AV_PIX_FMT_FLAG_PAL)) != 0;
  if (f->format == AV_PIX_FMT_RGB24) {
    for (int y = 0; y < f->height; ++y) {
      const std::uint8_t* p = f->data[0] + static_cast<std::ptrdiff_t>(y) * f->linesize[0];
      for (int x = 0; x < f->width; ++x, p += 3) out.PSet(x, y, p[0] | (p[1] << 8) | (p[2] << 16));
    }
    return out;
  }
  SwsContext* sws = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                   f->width, f->height, alpha ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB0,
                                   SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
                                   nullptr, nullptr);
  const int* table =
      sws_getCoefficients(f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT);
  sws_setColorspaceDetails(sws, table, f->color_range == AVCOL_RANGE_JPEG ? 1 : 0, table, 1, 0,
                           1 << 16, 1 << 16);
  auto* rgb = reinterpret_cast<std::uint8_t*>(out.Row(0));
  const int stride = f->width * 4;
  sws_scale(sws, f->data, f->linesize, 0, f->height, &rgb, &stride);
  sws_freeContext(sws);
  for (int y = 0; y < f->height; ++y) {
    for (std::uint32_t& c : std::span(out.Row(y), static_cast<std::size_t>(f->width))) {
      if (!alpha) {
        c &= 0xFFFFFFu;
      } else {
        c = (c >> 24) == 0 ? static_cast<std::uint32_t>(render::kClear) : c ^ 0xFF000000u;
      }
    }
  }
  return out;
}

}  // namespace

DecodedVideo DecodeVideo(const std::filesystem::path& file) {
  DecodedVideo out;
  AVFormatContext* input = nullptr;
  if (avformat_open_input(&input, file.c_str(), nullptr, nullptr) < 0 ||
      avformat_find_stream_info(input, nullptr) < 0) {
    avformat_close_input(&input);
    out.error = "cannot open " + file.string();
    return out;
  }
  const int index = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) {
    avformat_close_input(&input);
    out.error = "no video stream";
    return out;
  }
  const AVStream* stream = input->streams[index];
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) ++out.audioStreams;
  }
  // FFmpeg's own VP9 decoder drops the opacity that libvpx's keeps.
  const AVCodec* codec = stream->codecpar->codec_id == AV_CODEC_ID_VP9
                             ? avcodec_find_decoder_by_name("libvpx-vp9")
                             : avcodec_find_decoder(stream->codecpar->codec_id);
  AVCodecContext* decoder = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(decoder, stream->codecpar);
  avcodec_open2(decoder, codec, nullptr);
  out.codec = avcodec_get_name(stream->codecpar->codec_id);
  const char* format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(stream->codecpar->format));
  out.pixelFormat = format != nullptr ? format : "";
  out.width = stream->codecpar->width;
  out.height = stream->codecpar->height;
  out.frameRateNum = stream->avg_frame_rate.num;
  out.frameRateDen = stream->avg_frame_rate.den;
  out.loopCount = out.codec == "apng" ? PngPlays(file) : -1;

  // Each frame's time, as a player shows it: until the next frame's, and the last one's own
  // duration (or to the end of the stream).
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  std::vector<std::int64_t> starts;
  std::int64_t lastDuration = 0;
  auto receive = [&] {
    while (avcodec_receive_frame(decoder, frame) == 0) {
      out.frames.push_back(ToSurface(frame));
      starts.push_back(frame->best_effort_timestamp);
      lastDuration = frame->pkt_duration;
      av_frame_unref(frame);
    }
  };
  while (av_read_frame(input, packet) >= 0) {
    if (packet->stream_index == index) {
      avcodec_send_packet(decoder, packet);
      receive();
    }
    av_packet_unref(packet);
  }
  avcodec_send_packet(decoder, nullptr);
  receive();
  if (lastDuration <= 0 && !starts.empty() && stream->duration > 0) {
    lastDuration = stream->duration - (starts.back() - starts.front());
  }
  starts.push_back(starts.empty() ? 0 : starts.back() + lastDuration);
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    out.delays.push_back(static_cast<int>(
        av_rescale_q(starts[k + 1] - starts[k], stream->time_base, AVRational{1, 1000})));
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&decoder);
  avformat_close_input(&input);
  out.ok = true;
  return out;
}

}  // namespace kinetta::test
