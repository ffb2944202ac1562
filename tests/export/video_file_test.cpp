// The MP4, APNG and WebM files read back with FFmpeg's libraries: codec, pixel format, frame
// count, size and timing, the APNG's exact pixels, colour type and endless play, the MP4's
// closeness to the frames, its index at the front, and the column or row added to an odd side;
// transparency kept by the APNG and the WebM, laid over the background in the MP4.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "animation_test_frames.h"
#include "export/animation_file.h"
#include "export/apng_frames.h"
#include "export/sticker_check.h"
#include "render/transparency.h"
#include "video_decoder.h"

namespace kinetta::exporter {
namespace {

// Smooth, photo-like colour: slow waves of different lengths in each channel.
Surface PhotoPicture(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double r = 128 + 100 * std::sin(x * 0.07 + y * 0.02);
      const double g = 128 + 90 * std::cos(y * 0.09 - x * 0.03);
      const double b = 128 + 80 * std::sin((x + y) * 0.05);
      s.PSet(x, y, render::Compose(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)));
    }
  }
  return s;
}

int Channel(render::Colour c, int shift) { return (c >> shift) & 0xFF; }

// BT.601 brightness, which the video keeps per pixel (colour is shared by 2 x 2 pixels).
double Luma(render::Colour c) {
  return 0.299 * Channel(c, 0) + 0.587 * Channel(c, 8) + 0.114 * Channel(c, 16);
}

// `picture` with its top left quarter clear and its bottom rows half transparent (written
// to the rows: PSet keeps colour only).
Surface Translucent(Surface picture) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      auto& pixel = picture.Row(y)[x];
      const auto c = static_cast<render::Colour>(pixel);
      if (x < picture.width() / 2 && y < picture.height() / 2) pixel = render::kClear;
      if (y >= picture.height() - 4) pixel = render::WithOpacity(c, 128);
    }
  }
  return picture;
}

// The PNG colour type in the file's header: 2 RGB, 3 indexed, 6 RGBA.
int ColourType(const fs::path& file) { return static_cast<std::uint8_t>(Bytes(file).at(25)); }

TEST(VideoFile, ApngKeepsEveryPixelInTheSmallestColourTypePlaysForEverAndShowsEachFrameTheDelay) {
  struct Case {
    const char* name;
    std::vector<Surface> frames;
    int colourType;
  };
  const std::vector<Surface> sphere = Frames(test::CoordinatePicture(49, 33), 2, 5);
  const std::vector<Surface> plane = Frames(BlockPicture(48, 32), 0, 40);  // 12 colours
  // Flat colours shaded on a sphere: hundreds of colours, most pixels the same from frame to
  // frame; a frame shown twice changes nothing.
  std::vector<Surface> shaded = Frames(BlockPicture(96, 64, 60), 2, 4);
  shaded.insert(shaded.begin() + 2, shaded[2]);
  std::vector<Surface> clearSphere, clearPlane;
  for (const Surface& f : sphere) clearSphere.push_back(Translucent(f));
  for (int k = 0; k < 5; ++k) clearPlane.push_back(Translucent(plane[static_cast<std::size_t>(k)]));
  for (const Case& c :
       {Case{"many colours", sphere, 2}, Case{"few colours", plane, 3},
        Case{"shaded flat colours", shaded, 2}, Case{"many with transparency", clearSphere, 6},
        Case{"few with transparency", clearPlane, 3}}) {
    test::TempFolder folder;
    const AnimationResult r = Write(c.frames, AnimationFormat::Apng, folder / "a.png", "0.35");
    ASSERT_EQ(r.outcome, AnimationStatus::Written) << c.name << ": " << r.status.message();
    EXPECT_EQ(r.frames, static_cast<int>(c.frames.size())) << c.name;
    EXPECT_EQ(Bytes(folder / "a.png").substr(1, 3), "PNG") << c.name;
    EXPECT_EQ(ColourType(folder / "a.png"), c.colourType) << c.name;

    const test::DecodedVideo d = test::DecodeVideo(folder / "a.png");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.codec, "apng");
    EXPECT_EQ(d.width, c.frames[0].width());
    EXPECT_EQ(d.height, c.frames[0].height());
    EXPECT_EQ(d.loopCount, 0) << c.name;
    EXPECT_EQ(d.delays, std::vector<int>(c.frames.size(), 350)) << c.name;
    ASSERT_EQ(d.frames.size(), c.frames.size()) << c.name;
    for (std::size_t k = 0; k < c.frames.size(); ++k) {
      EXPECT_TRUE(d.frames[k] == c.frames[k]) << c.name << " frame " << k;
    }
  }
}

// Frames of many colours: opaque with a clear key colour, and without one when the frames have
// every colour (the changed rectangles laid over the canvas or written whole); with
// transparency, a half transparent column that stays as the opaque pixels change around it.
TEST(VideoFile, ApngOfManyColoursIsExactInRgbWithTheKeyColourOrWithoutAndInRgba) {
  std::vector<Surface> frames = Frames(BlockPicture(96, 64, 60), 2, 4);
  frames.push_back(frames.back());
  std::vector<Surface> translucent = frames;
  for (Surface& f : translucent) {
    for (int y = 0; y < f.height(); ++y) {
      f.Row(y)[50] = static_cast<std::uint32_t>(render::WithOpacity(render::Compose(9, 8, 7), 99));
    }
  }
  // acTL: the frame count and endless play, then the CRC of the name and fields.
  std::array<std::uint8_t, 20> control{0, 0, 0, 8, 'a', 'c', 'T', 'L', 0, 0, 0, 5};
  const auto crc = static_cast<std::uint32_t>(crc32(0, control.data() + 4, 12));
  for (int i = 0; i < 4; ++i) control[16 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  struct Case {
    bool alpha;
    std::optional<render::Colour> key;
  };
  for (const Case& c : {Case{false, render::Compose(0, 0, 1)}, Case{false, {}}, Case{true, {}}}) {
    const std::vector<Surface>& in = c.alpha ? translucent : frames;
    test::TempFolder folder;
    {
      std::ofstream file(folder / "a.png", std::ios::binary);
      const ByteSink sink = [&file](const void* data, std::size_t size) {
        return file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size))
            .good();
      };
      ApngFrameWriter writer(350, c.alpha, c.key);
      ASSERT_TRUE(writer.Start(96, 64, control, sink).ok());
      for (const Surface& f : in) ASSERT_TRUE(writer.Add(f).ok());
      ASSERT_TRUE(writer.Finish().ok());
    }
    // The sticker check reads every chunk and its CRC, which the decoder does not.
    const base::Result<StickerMeasure> m = MeasureStickerFile(folder / "a.png");
    ASSERT_TRUE(m.ok()) << m.message();
    const test::DecodedVideo d = test::DecodeVideo(folder / "a.png");
    ASSERT_TRUE(d.ok) << d.error;
    ASSERT_EQ(d.frames.size(), in.size());
    for (std::size_t k = 0; k < in.size(); ++k) {
      EXPECT_TRUE(d.frames[k] == in[k])
          << "alpha " << c.alpha << " key " << c.key.has_value() << " frame " << k;
    }
  }
  // The key is the lowest colour no frame has.
  std::vector<std::uint64_t> seen(std::size_t{1} << 18, ~std::uint64_t{0});
  EXPECT_EQ(UnusedColour(seen), std::nullopt);
  seen[0x123456 >> 6] &= ~(std::uint64_t{1} << (0x123456 & 63));
  seen.back() = 0;
  EXPECT_EQ(UnusedColour(seen), 0x123456);
}

TEST(VideoFile, Mp4IsH264AtTheDelaysRateCloseToTheFramesWithItsIndexFirst) {
  struct Case {
    const char* seconds;
    int rateNum, rateDen;  // frames per second
    int delay;             // milliseconds
  };
  const std::vector<Surface> frames = Frames(PhotoPicture(320, 192), 5, 6);  // water
  for (const Case& c :
       {Case{"0.1", 10, 1, 100}, Case{"0.3", 10, 3, 300}, Case{"0.04", 25, 1, 40}}) {
    test::TempFolder folder;
    const AnimationResult r = Write(frames, AnimationFormat::Mp4, folder / "a.mp4", c.seconds);
    ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
    const std::string bytes = Bytes(folder / "a.mp4");
    ASSERT_NE(bytes.find("mdat"), std::string::npos);
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat")) << "the index should come first";

    const test::DecodedVideo d = test::DecodeVideo(folder / "a.mp4");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.codec, "h264");
    EXPECT_EQ(d.pixelFormat, "yuv420p");
    EXPECT_EQ(d.width, frames[0].width());
    EXPECT_EQ(d.height, frames[0].height());
    EXPECT_EQ(d.frameRateNum * c.rateDen, c.rateNum * d.frameRateDen) << c.seconds;
    EXPECT_EQ(d.delays, std::vector<int>(frames.size(), c.delay)) << c.seconds;
    ASSERT_EQ(d.frames.size(), frames.size());
    EXPECT_GT(test::Psnr(d.frames, frames), 40.0) << c.seconds;
  }
}

TEST(VideoFile, Mp4PadsAnOddSideWithTheBackgroundOrTheRepeatedEdge) {
  // Flat frames of one colour each, 75 x 41, so the added column and row stand out.
  const std::vector<render::Colour> colours{render::Compose(200, 60, 60),
                                            render::Compose(60, 60, 210)};
  std::vector<Surface> frames;
  for (const render::Colour c : colours) frames.push_back(test::SolidPicture(75, 41, c));
  const render::Colour background = render::Compose(30, 220, 90);
  for (const bool known : {true, false}) {
    test::TempFolder folder;
    AnimationRequest request;
    request.format = AnimationFormat::Mp4;
    request.target = folder / "a.mp4";
    if (known) request.background = background;
    ASSERT_EQ(WriteAnimation(ReaderOf(frames), request).outcome, AnimationStatus::Written);
    const test::DecodedVideo d = test::DecodeVideo(folder / "a.mp4");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.width, 76);
    EXPECT_EQ(d.height, 42);
    ASSERT_EQ(d.frames.size(), frames.size());
    // Brightness is kept per pixel; colour is shared with the frame's last column and row, so
    // the added pixels are told apart by brightness.
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const double want = Luma(known ? background : colours[k]);
      for (const auto& [x, y] : {std::pair{75, 20}, std::pair{37, 41}, std::pair{75, 41}}) {
        EXPECT_NEAR(Luma(d.frames[k].Point(x, y)), want, 6.0)
            << (known ? "background" : "edge") << " frame " << k << " (" << x << ", " << y << ")";
      }
      EXPECT_NEAR(Luma(d.frames[k].Point(30, 20)), Luma(colours[k]), 3.0) << "frame " << k;
    }
  }
}

TEST(VideoFile, WebmKeepsTransparencyAndMp4LaysItOverTheBackground) {
  // Two frames, each clear on one side and opaque on the other.
  const render::Colour red = render::Compose(220, 40, 40);
  std::vector<Surface> frames;
  for (int k = 0; k < 2; ++k) {
    Surface f = test::SolidPicture(64, 48, red);
    for (int y = 0; y < 48; ++y) std::fill_n(f.Row(y) + 32 * k, 32, render::kClear);
    frames.push_back(std::move(f));
  }
  const render::Colour background = render::Compose(30, 220, 90);
  struct Case {
    AnimationFormat format;
    const char* file;
    const char* codec;
    bool keepsTransparency;
  };
  for (const Case& c : {Case{AnimationFormat::WebM, "a.webm", "vp9", true},
                        Case{AnimationFormat::Mp4, "a.mp4", "h264", false}}) {
    test::TempFolder folder;
    AnimationRequest request;
    request.format = c.format;
    request.target = folder / c.file;
    request.background = background;
    ASSERT_EQ(WriteAnimation(ReaderOf(frames), request).outcome, AnimationStatus::Written)
        << c.file;
    const test::DecodedVideo d = test::DecodeVideo(folder / c.file);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.codec, c.codec);
    ASSERT_EQ(d.frames.size(), frames.size()) << c.file;
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const int clearX = k == 0 ? 10 : 50;
      const int opaqueX = k == 0 ? 50 : 10;
      const render::Colour shown = d.frames[k].Point(opaqueX, 24);
      EXPECT_EQ(render::OpacityOf(shown), 255) << c.file << " frame " << k;
      EXPECT_NEAR(Luma(shown), Luma(red), 4.0) << c.file << " frame " << k;
      const render::Colour clear = d.frames[k].Point(clearX, 24);
      if (c.keepsTransparency) {
        EXPECT_EQ(render::OpacityOf(clear), 0) << c.file << " frame " << k;
      } else {
        EXPECT_NEAR(Luma(clear), Luma(background), 4.0) << c.file << " frame " << k;
      }
    }
  }
}

// Frames scaled as they are read: the file has the chosen size, a flat colour stays exact and a
// clear half stays clear (the opacity weighs the mean), in a GIF as in an APNG.
TEST(VideoFile, ScaledFileHasTheChosenSizeAndTheFramesColours) {
  const render::Colour colours[] = {render::Compose(200, 60, 60), render::Compose(60, 60, 210)};
  std::vector<Surface> frames;
  for (const render::Colour c : colours) {
    Surface f = test::SolidPicture(300, 200, c);
    for (int y = 0; y < 200; ++y) std::fill_n(f.Row(y), 150, render::kClear);
    frames.push_back(std::move(f));
  }
  for (const AnimationFormat format : {AnimationFormat::Gif, AnimationFormat::Apng}) {
    test::TempFolder folder;
    AnimationRequest request;
    request.format = format;
    request.target = folder / (format == AnimationFormat::Gif ? "a.gif" : "a.png");
    request.maxSide = 60;
    const AnimationResult r = WriteAnimation(ReaderOf(frames), request);
    ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
    EXPECT_EQ(std::pair(r.width, r.height), std::pair(60, 40));
    const test::DecodedAnimation d = format == AnimationFormat::Gif
                                         ? test::DecodeGif(request.target)
                                         : test::DecodeVideo(request.target);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(std::pair(d.width, d.height), std::pair(60, 40));
    ASSERT_EQ(d.frames.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
      Surface want = test::SolidPicture(60, 40, colours[k]);
      for (int y = 0; y < 40; ++y) std::fill_n(want.Row(y), 30, render::kClear);
      EXPECT_TRUE(d.frames[k] == want) << "frame " << k << " of " << static_cast<int>(format);
    }
  }
}

// The level the MP4 declares (its avcC box: version, profile, compatibility, level) for frames
// over level 5.1 by their size, and by their rate: made smaller, it is 5.1 at most.
TEST(VideoFile, Mp4OverLevel51IsMadeSmallerAndDeclaresIt) {
  struct Case {
    int width, height;
    const char* seconds;
  };
  for (const Case& c : {Case{4098, 2304, "0.2"}, Case{3000, 2000, "0.02"}}) {
    const std::vector<Surface> frames(1, test::SolidPicture(c.width, c.height, 0x406080));
    test::TempFolder folder;
    const AnimationResult r = Write(frames, AnimationFormat::Mp4, folder / "a.mp4", c.seconds);
    ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
    EXPECT_TRUE(r.withinLevel) << c.seconds;
    const std::string bytes = Bytes(folder / "a.mp4");
    const std::size_t avcc = bytes.find("avcC");
    ASSERT_NE(avcc, std::string::npos);
    EXPECT_LE(static_cast<std::uint8_t>(bytes.at(avcc + 7)), 51) << c.seconds;
    const test::DecodedVideo d = test::DecodeVideo(folder / "a.mp4");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(std::pair(d.width, d.height), std::pair(r.width, r.height));
    EXPECT_LT(r.width, c.width);
  }
}

}  // namespace
}  // namespace kinetta::exporter
