// kinetta-render --sticker for the APNG and PNG targets: the file written keeps every rule of
// the platform, read here from the file's own chunks (not through the program's checker), for a
// figure on a transparent background, a larger opaque picture, more frames than any target
// takes, and noise everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/cli_fixture.h"
#include "image/bmp_file.h"
#include "image/png_frame.h"
#include "render/geometry.h"
#include "render/transparency.h"

namespace kinetta::cli {
namespace {

using render::Surface;

// What the file's chunks say.
struct PngChunks {
  std::uint32_t width = 0, height = 0;
  int colourType = -1;
  bool trns = false;
  long long frames = -1, plays = -1;  // acTL's; -1 without one
  int frameControls = 0;
  double loopSeconds = 0.0;  // the fcTL delays added up
};

std::uint32_t Big32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(
      static_cast<unsigned char>(b[at]) << 24 | static_cast<unsigned char>(b[at + 1]) << 16 |
      static_cast<unsigned char>(b[at + 2]) << 8 | static_cast<unsigned char>(b[at + 3]));
}

PngChunks ReadChunks(const std::string& b) {
  PngChunks c;
  EXPECT_EQ(b.compare(0, 8, "\x89PNG\r\n\x1A\n"), 0);
  for (std::size_t at = 8; at + 8 <= b.size();) {
    const std::uint32_t length = Big32(b, at);
    const std::string type = b.substr(at + 4, 4);
    const std::size_t data = at + 8;
    if (type == "IHDR") {
      c.width = Big32(b, data);
      c.height = Big32(b, data + 4);
      c.colourType = static_cast<unsigned char>(b[data + 9]);
    } else if (type == "tRNS") {
      c.trns = true;
    } else if (type == "acTL") {
      c.frames = Big32(b, data);
      c.plays = Big32(b, data + 4);
    } else if (type == "fcTL") {
      ++c.frameControls;
      const double num = Big32(b, data + 20) >> 16, den = Big32(b, data + 20) & 0xFFFF;
      c.loopSeconds += num / (den == 0 ? 100 : den);
    }
    at = data + length + 4;
  }
  return c;
}

// The platform's rules, as published: size, frames, plays, seconds, bytes.
struct Rules {
  std::uint32_t maxWidth, maxHeight, minWidth, minHeight, minLongerSide;
  long long minFrames, maxFrames, maxPlays;  // 0: no limit; -1 frames: a still PNG
  double maxSeconds;
  std::size_t maxBytes;
};

struct StickerCase {
  const char* picture;  // figure.png, photo.bmp, noise.bmp
  const char* target;
  const char* frames;
  Rules rules;
};

constexpr Rules kLine{320, 270, 0, 0, 270, 5, 20, 4, 4.0, 300 * 1024};
constexpr Rules kLineMain{240, 240, 240, 240, 0, 5, 20, 4, 4.0, 300 * 1024};
constexpr Rules kLineTab{96, 74, 96, 74, 0, -1, -1, 0, 0.0, 300 * 1024};
constexpr Rules kDiscord{320, 320, 320, 320, 0, 0, 0, 0, 0.0, 512 * 1024};

class CliStickerTest : public CliFixture, public testing::WithParamInterface<StickerCase> {};

TEST_P(CliStickerTest, FileKeepsEveryRuleAsItsChunksTell) {
  const StickerCase& c = GetParam();
  // A round figure with soft edges on a clear background; a larger opaque picture; noise.
  Surface figure(160, 120);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      const double d = std::hypot(x - 80.0, y - 60.0);
      const int opacity = std::clamp(static_cast<int>((58.0 - d) * 64), 0, 255);
      figure.PSet(x, y,
                  opacity == 0 ? render::kClear
                               : render::WithOpacity(test::CoordinateColour(x, y), opacity));
    }
  }
  std::string png;
  ASSERT_TRUE(image::StreamPngFrame(figure, [&png](const void* d, std::size_t n) {
                png.append(static_cast<const char*>(d), n);
                return base::Status::Ok();
              }).ok());
  std::ofstream(pics_ / "figure.png", std::ios::binary) << png;
  ASSERT_TRUE(image::WriteBmp24(test::CoordinatePicture(1200, 800), pics_ / "photo.bmp").ok());
  std::mt19937 random(5);
  Surface noise(340, 250);
  for (int y = 0; y < 250; ++y) {
    for (int x = 0; x < 340; ++x)
      noise.PSet(x, y, static_cast<render::Colour>(random() & 0xFFFFFF));
  }
  ASSERT_TRUE(image::WriteBmp24(noise, pics_ / "noise.bmp").ok());

  const std::string file = (pics_ / "sticker.png").string();
  ASSERT_EQ(Run({"--shape", "flag", "--frames", c.frames, "--sticker", c.target, file,
                 (pics_ / c.picture).string()}),
            kExitOk)
      << err_.str();
  const std::string bytes = FileBytes("sticker.png");
  const PngChunks k = ReadChunks(bytes);
  const Rules& r = c.rules;
  EXPECT_LE(bytes.size(), r.maxBytes);
  EXPECT_TRUE(k.width <= r.maxWidth && k.height <= r.maxHeight && k.width >= r.minWidth &&
              k.height >= r.minHeight && std::max(k.width, k.height) >= r.minLongerSide)
      << k.width << " x " << k.height;
  EXPECT_TRUE(k.colourType == 6 || (k.colourType == 3 && k.trns)) << k.colourType;  // RGB, clear
  if (r.minFrames < 0) {
    EXPECT_EQ(k.frames, -1);  // a still PNG
    return;
  }
  EXPECT_EQ(k.frames, k.frameControls);
  EXPECT_GE(k.frames, std::max(r.minFrames, 1LL));
  EXPECT_TRUE(r.maxFrames == 0 || k.frames <= r.maxFrames) << k.frames;
  if (r.maxPlays > 0) {
    EXPECT_TRUE(k.plays >= 1 && k.plays <= r.maxPlays) << k.plays;
    EXPECT_LE(static_cast<double>(k.plays) * k.loopSeconds, r.maxSeconds + 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, CliStickerTest,
                         testing::Values(StickerCase{"figure.png", "line", "24", kLine},
                                         StickerCase{"figure.png", "discord", "24", kDiscord},
                                         StickerCase{"figure.png", "line-main", "24", kLineMain},
                                         StickerCase{"figure.png", "line-tab", "24", kLineTab},
                                         StickerCase{"photo.bmp", "line", "24", kLine},
                                         StickerCase{"photo.bmp", "discord", "24", kDiscord},
                                         StickerCase{"photo.bmp", "line", "200", kLine},
                                         StickerCase{"noise.bmp", "line", "24", kLine},
                                         StickerCase{"noise.bmp", "discord", "24", kDiscord}));

}  // namespace
}  // namespace kinetta::cli
