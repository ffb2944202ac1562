// Sticker files checked against their targets: APNGs written chunk by chunk here, GIFs through
// giflib, WebMs encoded with libvpx through FFmpeg's libraries, each with the rules it was made
// to pass or fail; what is measured; and files broken in the ways a check must refuse.
#include "export/sticker_check.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <fstream>
#include <random>
#include <set>
#include <variant>

#include "test_support.h"

namespace kinetta::exporter {
namespace {

namespace fs = std::filesystem;

struct PngSpec {
  int width, height, colourType = 6;
  int frames = 0;  ///< 0: a still PNG without acTL
  int plays = 0, delayMs = 100;
  bool trns = false;
  std::size_t padding = 0;  ///< bytes of a comment chunk
  int declared = 0;         ///< acTL's count of frames, when not `frames`
};

struct GifSpec {
  int width, height, frames, delayCs = 10;
  int repeats = 0;  ///< -1: no NETSCAPE2.0 block
  bool transparent = false, noise = false;
};

struct WebmSpec {
  const char* encoder;
  int width, height, frames, fps;
  bool alpha = false, audio = false;
};

using FileSpec = std::variant<PngSpec, GifSpec, WebmSpec>;

std::string BigEndian(std::uint32_t v, int bytes = 4) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  return s;
}

std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const auto* p = reinterpret_cast<const Bytef*>(body.data());
  return BigEndian(static_cast<std::uint32_t>(data.size())) + body +
         BigEndian(static_cast<std::uint32_t>(crc32(0, p, static_cast<uInt>(body.size()))));
}

std::string MakePng(const PngSpec& s) {
  const int channels[] = {1, 0, 3, 1, 2, 0, 4};
  std::string rows(static_cast<std::size_t>(s.height) * (1 + s.width * channels[s.colourType]), 0);
  uLongf size = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(size, 0);
  compress(reinterpret_cast<Bytef*>(packed.data()), &size,
           reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()));
  packed.resize(size);
  std::string png =
      "\x89PNG\r\n\x1a\n" + Chunk("IHDR", BigEndian(s.width) + BigEndian(s.height) + '\x08' +
                                              static_cast<char>(s.colourType) + std::string(3, 0));
  if (s.trns) png += Chunk("tRNS", std::string(6, 0));
  if (s.frames == 0) png += Chunk("IDAT", packed);
  if (s.frames > 0)
    png += Chunk("acTL", BigEndian(s.declared ? s.declared : s.frames) + BigEndian(s.plays));
  for (int k = 0, seq = 0; k < s.frames; ++k) {
    png += Chunk("fcTL", BigEndian(seq++) + BigEndian(s.width) + BigEndian(s.height) +
                             std::string(8, 0) + BigEndian(s.delayMs, 2) + BigEndian(1000, 2) +
                             std::string(2, 0));
    png += k == 0 ? Chunk("IDAT", packed) : Chunk("fdAT", BigEndian(seq++) + packed);
  }
  if (s.padding > 0)
    png += Chunk("tEXt", "Comment" + std::string(1, 0) + std::string(s.padding, 'x'));
  return png + Chunk("IEND", "");
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void MakeGif(const fs::path& path, const GifSpec& s) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[i] = {static_cast<GifByteType>(i), 0, 0};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, s.width, s.height, 8, 0, map);
  if (s.repeats >= 0) {
    const GifByteType loop[] = {1, static_cast<GifByteType>(s.repeats), 0};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, 3, loop);
    EGifPutExtensionTrailer(gif);
  }
  std::mt19937 random(7);
  std::vector<GifPixelType> row(static_cast<std::size_t>(s.width));
  for (int k = 0; k < s.frames; ++k) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, s.delayCs,
                                 s.transparent ? 0 : NO_TRANSPARENT_COLOR};
    GifByteType block[4];
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE,
                     static_cast<int>(EGifGCBToExtension(&control, block)), block);
    EGifPutImageDesc(gif, 0, 0, s.width, s.height, false, nullptr);
    for (int y = 0; y < s.height; ++y) {
      // The first row in the transparent colour, 0, where there is one.
      for (auto& p : row)
        p = s.noise ? static_cast<GifPixelType>(random()) : s.transparent && y == 0 ? 0 : 1;
      EGifPutLine(gif, row.data(), s.width);
    }
  }
  GifFreeMapObject(map);
  ASSERT_EQ(EGifCloseFile(gif, &error), GIF_OK) << error;
}

// Grey frames (with a transparent half where there is alpha), one a tick of 1/fps; an audio
// stream of one Opus packet beside them when asked.
void MakeWebm(const fs::path& path, const WebmSpec& s) {
  av_log_set_level(AV_LOG_ERROR);
  AVFormatContext* out = nullptr;
  ASSERT_GE(avformat_alloc_output_context2(&out, nullptr, "webm", path.c_str()), 0);
  const AVCodec* codec = avcodec_find_encoder_by_name(s.encoder);
  ASSERT_NE(codec, nullptr) << s.encoder;
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = s.width;
  enc->height = s.height;
  enc->pix_fmt = s.alpha ? AV_PIX_FMT_YUVA420P : AV_PIX_FMT_YUV420P;
  enc->time_base = {1, s.fps};
  enc->bit_rate = 100000;
  av_opt_set(enc->priv_data, "deadline", "realtime", 0);
  av_opt_set_int(enc->priv_data, "cpu-used", 8, 0);
  ASSERT_GE(avcodec_open2(enc, codec, nullptr), 0);
  AVStream* video = avformat_new_stream(out, nullptr);
  avcodec_parameters_from_context(video->codecpar, enc);
  video->time_base = enc->time_base;
  if (s.audio) {
    AVStream* audio = avformat_new_stream(out, nullptr);
    audio->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    audio->codecpar->codec_id = AV_CODEC_ID_OPUS;
    audio->codecpar->sample_rate = 48000;
    av_channel_layout_default(&audio->codecpar->ch_layout, 1);
    const std::string head = std::string("OpusHead\x01\x01\x38\x01\x80\xbb\0\0\0\0\0", 19);
    audio->codecpar->extradata =
        static_cast<std::uint8_t*>(av_mallocz(head.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    std::copy(head.begin(), head.end(), audio->codecpar->extradata);
    audio->codecpar->extradata_size = static_cast<int>(head.size());
  }
  ASSERT_GE(avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE), 0);
  ASSERT_GE(avformat_write_header(out, nullptr), 0);
  AVFrame* frame = av_frame_alloc();
  frame->format = enc->pix_fmt;
  frame->width = s.width;
  frame->height = s.height;
  ASSERT_GE(av_frame_get_buffer(frame, 0), 0);
  AVPacket* packet = av_packet_alloc();
  const auto drain = [&] {
    while (avcodec_receive_packet(enc, packet) >= 0) {
      packet->duration = 1;
      av_packet_rescale_ts(packet, enc->time_base, video->time_base);
      packet->stream_index = video->index;
      av_interleaved_write_frame(out, packet);
    }
  };
  for (int k = 0; k < s.frames; ++k) {
    av_frame_make_writable(frame);
    for (int plane = 0; plane < (s.alpha ? 4 : 3); ++plane) {
      const int rows = plane == 1 || plane == 2 ? (s.height + 1) / 2 : s.height;
      for (int y = 0; y < rows; ++y) {
        std::fill_n(frame->data[plane] + y * frame->linesize[plane], frame->linesize[plane],
                    plane == 3 ? (y < rows / 2 ? 0 : 255) : 128);
      }
    }
    frame->pts = k;
    ASSERT_GE(avcodec_send_frame(enc, frame), 0);
    drain();
  }
  avcodec_send_frame(enc, nullptr);
  drain();
  if (s.audio) {
    std::uint8_t silence[] = {0xF8, 0xFF, 0xFE};
    av_packet_unref(packet);
    packet->data = silence;
    packet->size = sizeof silence;
    packet->stream_index = 1;
    packet->pts = packet->dts = 0;
    av_write_frame(out, packet);
    packet->data = nullptr;
    packet->size = 0;
  }
  ASSERT_GE(av_write_trailer(out), 0);
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
}

void Make(const fs::path& path, const FileSpec& spec) {
  if (const auto* png = std::get_if<PngSpec>(&spec)) Write(path, MakePng(*png));
  if (const auto* gif = std::get_if<GifSpec>(&spec)) MakeGif(path, *gif);
  if (const auto* webm = std::get_if<WebmSpec>(&spec)) MakeWebm(path, *webm);
}

using R = StickerRule;

struct CheckCase {
  const char* label;
  const char* target;
  FileSpec file;
  std::set<StickerRule> failing;
  std::set<StickerRule> warned = {};
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.target << ": " << c.label; }

class StickerCheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(StickerCheckTest, FailsExactlyTheRulesTheFileBreaks) {
  const CheckCase& c = GetParam();
  test::TempFolder folder;
  const fs::path file = folder / "sticker";
  Make(file, c.file);
  const base::Result<StickerMeasure> m = MeasureStickerFile(file);
  ASSERT_TRUE(m.ok()) << m.message();
  std::set<StickerRule> failing, warned;
  const std::vector<RuleOutcome> outcomes = CheckSticker(*FindStickerTarget(c.target), m.value());
  for (const RuleOutcome& o : outcomes) {
    if (o.verdict == RuleVerdict::Fail) failing.insert(o.rule);
    if (o.verdict == RuleVerdict::Warn) warned.insert(o.rule);
  }
  EXPECT_EQ(failing, c.failing);
  EXPECT_EQ(warned, c.warned);
  EXPECT_EQ(AllPass(outcomes), c.failing.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, StickerCheckTest,
    testing::Values(
        CheckCase{"passes", "line", PngSpec{320, 270, 6, 10, 2, 100}, {}},
        CheckCase{"short, grey, too many frames for ever",
                  "line",
                  PngSpec{260, 200, 4, 24, 0, 100},
                  {R::Size, R::Frames, R::Plays, R::Seconds, R::Colour}},
        // 4 plays of 1.25 s; no alpha is said, not failed.
        CheckCase{"opaque, too long, too large",
                  "line",
                  PngSpec{240, 270, 2, 5, 4, 250, false, 300 * 1024},
                  {R::Seconds, R::Bytes},
                  {R::Transparency}},
        CheckCase{"a GIF", "line", GifSpec{320, 270, 10, 10, 1, true}, {R::Container}},
        CheckCase{"passes", "line-main", PngSpec{240, 240, 6, 5, 1, 100}, {}},
        CheckCase{"one row short", "line-main", PngSpec{240, 239, 6, 5, 1, 100}, {R::Size}},
        CheckCase{"still, transparent colour", "line-tab", PngSpec{96, 74, 2, 0, 0, 0, true}, {}},
        CheckCase{"two frames", "line-tab", PngSpec{96, 74, 6, 2, 1, 100}, {R::Frames}},
        CheckCase{"passes", "discord", PngSpec{320, 320, 6, 3, 0, 100}, {}},
        CheckCase{"a GIF", "discord", GifSpec{320, 320, 3}, {R::Container}},
        CheckCase{"passes", "discord-emoji", GifSpec{128, 64, 30}, {}},
        CheckCase{"too wide", "discord-emoji", GifSpec{129, 10, 2}, {R::Size}},
        CheckCase{"passes", "slack", GifSpec{128, 128, 50}, {}},
        CheckCase{"too many noisy frames",
                  "slack",
                  GifSpec{64, 64, 51, 10, 0, false, true},
                  {R::Frames, R::Bytes}},
        CheckCase{"passes", "telegram", WebmSpec{"libvpx-vp9", 512, 288, 10, 30, true}, {}},
        CheckCase{"VP8", "telegram", WebmSpec{"libvpx", 288, 512, 10, 30}, {R::Codec}},
        CheckCase{"small, fast, with sound",
                  "telegram",
                  WebmSpec{"libvpx-vp9", 500, 500, 10, 60, false, true},
                  {R::Size, R::FrameRate, R::Audio}},
        CheckCase{"4 seconds", "telegram", WebmSpec{"libvpx-vp9", 512, 512, 8, 2}, {R::Seconds}}));

TEST(StickerMeasure, FramesPlaysTimeAndTransparencyOfEachKind) {
  struct Case {
    FileSpec file;
    StickerContainer container;
    int frames, plays;
    double seconds;
    bool transparency;
    const char* codec;
  };
  const Case cases[] = {
      {PngSpec{20, 10, 6, 10, 3, 100}, StickerContainer::Apng, 10, 3, 1.0, true, ""},
      {PngSpec{20, 10, 0}, StickerContainer::Png, 1, -1, 0.0, false, ""},
      {GifSpec{20, 10, 4, 10, 2, true}, StickerContainer::Gif, 4, 3, 0.4, true, ""},
      {GifSpec{20, 10, 2, 5, -1}, StickerContainer::Gif, 2, 1, 0.1, false, ""},
      {GifSpec{20, 10, 2, 5, 0}, StickerContainer::Gif, 2, 0, 0.1, false, ""},
      {WebmSpec{"libvpx-vp9", 20, 10, 10, 25, true}, StickerContainer::WebM, 10, -1, 0.4, true,
       "vp9"},
  };
  test::TempFolder folder;
  for (const Case& c : cases) {
    const fs::path file = folder / "sticker";
    Make(file, c.file);
    const base::Result<StickerMeasure> m = MeasureStickerFile(file);
    ASSERT_TRUE(m.ok()) << m.message();
    const StickerMeasure& v = m.value();
    SCOPED_TRACE(static_cast<int>(c.container));
    EXPECT_EQ(v.container, c.container);
    EXPECT_EQ((std::array{v.width, v.height, v.frames, v.plays}),
              (std::array{20, 10, c.frames, c.plays}));
    EXPECT_NEAR(v.loopSeconds, c.seconds, 1e-3);
    EXPECT_EQ(v.transparency, c.transparency);
    EXPECT_EQ(v.codec, c.codec);
    EXPECT_EQ(v.bytes, fs::file_size(file));
  }
}

TEST(StickerMeasure, BrokenFilesAreRefusedWithTheirCause) {
  const std::string png = MakePng({8, 8, 6, 2, 1, 100});
  std::string badCrc = png;
  badCrc[30] ^= 1;  // inside IHDR's CRC
  test::TempFolder folder;
  Make(folder / "gif", GifSpec{8, 8, 3});
  std::ifstream in(folder / "gif", std::ios::binary);
  const std::string gif((std::istreambuf_iterator<char>(in)), {});
  const struct {
    std::string bytes;
    base::Cause cause;
  } cases[] = {
      {badCrc, base::Cause::BrokenData},
      {MakePng({8, 8, 6, 3, 1, 100, false, 0, 2}), base::Cause::BrokenData},
      {png.substr(0, png.size() - 6), base::Cause::BrokenData},
      {png.substr(0, 8) + png.substr(33), base::Cause::BrokenData},  // no IHDR
      {gif.substr(0, gif.size() / 2), base::Cause::BrokenData},
      {"RIFF....WEBPVP8 ", base::Cause::Unsupported},
      {"", base::Cause::Unsupported},
  };
  for (const auto& c : cases) {
    Write(folder / "broken", c.bytes);
    const base::Result<StickerMeasure> m = MeasureStickerFile(folder / "broken");
    ASSERT_FALSE(m.ok()) << c.bytes.size();
    EXPECT_EQ(m.cause(), c.cause) << m.message();
    EXPECT_EQ(m.message().find((folder / "broken").string()), 0u) << m.message();
  }
  EXPECT_EQ(MeasureStickerFile(folder / "missing").cause(), base::Cause::NotFound);
}

}  // namespace
}  // namespace kinetta::exporter
