// The palette mapping: the nearest colour must be exact whatever cell of the colour cube a
// colour falls in, and error diffusion must keep a flat area's average colour and leave what is
// already on screen alone.
#include "export/palette_map.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace kinetta::exporter {
namespace {

std::uint32_t Pack(int r, int g, int b) { return r | (g << 8) | (b << 16); }

int BruteNearest(const PaletteMap& map, int r, int g, int b) {
  int best = 0, bestDistance = INT_MAX;
  for (int i = 0; i < map.size(); ++i) {
    const std::uint32_t c = map.colour(i);
    const int dr = r - static_cast<int>(c & 0xFF), dg = g - static_cast<int>((c >> 8) & 0xFF),
              db = b - static_cast<int>((c >> 16) & 0xFF);
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

TEST(PaletteMap, NearestAgreesWithComparingEveryEntry) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  // Palettes of one, a few clustered, and 255 scattered colours.
  for (int size : {1, 5, 255}) {
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < size; ++i) {
      colours.push_back(size == 5 ? Pack(100 + i, 100, 100 - i)
                                  : Pack(byte(random), byte(random), byte(random)));
    }
    const PaletteMap map(colours);
    for (int n = 0; n < 20000; ++n) {
      const int r = byte(random), g = byte(random), b = byte(random);
      ASSERT_EQ(map.Nearest(r, g, b), BruteNearest(map, r, g, b))
          << "palette of " << size << ", colour (" << r << ", " << g << ", " << b << ")";
    }
    // The cube's corners and a palette colour itself.
    for (int corner = 0; corner < 8; ++corner) {
      const int r = corner & 1 ? 255 : 0, g = corner & 2 ? 255 : 0, b = corner & 4 ? 255 : 0;
      EXPECT_EQ(map.Nearest(r, g, b), BruteNearest(map, r, g, b));
    }
    const std::uint32_t c = colours.back();
    EXPECT_EQ(map.colour(map.Nearest(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)), c);
  }
}

TEST(PaletteMap, DiffusionKeepsTheAverageOfAFlatArea) {
  // Black and white only: mid grey must come out as a mix averaging that grey.
  const PaletteMap map({Pack(0, 0, 0), Pack(255, 255, 255)});
  const int w = 64, h = 64;
  std::vector<std::uint32_t> grey(w * h, Pack(64, 64, 64));
  std::vector<std::uint8_t> out(w * h);
  map.Dither(grey.data(), w, w, h, 1.0f, out.data());
  double sum = 0;
  for (std::uint8_t i : out) sum += map.colour(i) & 0xFF;
  EXPECT_NEAR(sum / (w * h), 64.0, 2.0);

  // Without diffusion every pixel takes the nearest colour: all black.
  map.Dither(grey.data(), w, w, h, 0.0f, out.data());
  EXPECT_EQ(std::count(out.begin(), out.end(), 0), w * h);
}

TEST(PaletteMap, OverABackdropUnchangedAndAlreadyShownPixelsAreKept) {
  const PaletteMap map({Pack(0, 0, 0), Pack(200, 0, 0), Pack(0, 200, 0)});
  const int w = 4;
  // Pixel 0 did not change; pixel 1 changed to a colour already shown there; pixel 2 changed
  // to a colour the screen does not show; pixel 3 changed, and the shown colour is nearer than
  // any palette colour.
  const std::vector<std::uint32_t> now{Pack(7, 7, 7), Pack(0, 200, 0), Pack(200, 0, 0),
                                       Pack(90, 90, 90)};
  const std::vector<std::uint32_t> before{Pack(7, 7, 7), Pack(9, 9, 9), Pack(9, 9, 9),
                                          Pack(9, 9, 9)};
  const std::vector<std::uint32_t> shown{Pack(0, 0, 0), Pack(0, 200, 0), Pack(0, 0, 0),
                                         Pack(95, 95, 95)};
  std::vector<std::uint8_t> out(w);
  map.Dither(now.data(), w, w, 1, 0.0f, PaletteMap::Backdrop{shown.data(), before.data(), 3},
             out.data());
  EXPECT_EQ(out, (std::vector<std::uint8_t>{3, 3, 1, 3}));
}

TEST(PaletteMap, RunSlackKeepsTheEntryBeforeOnlyWhenNearlyAsNear) {
  // Without slack each pixel takes its nearest. With a slack of 64, red 108 after a pixel that
  // took entry 0 (100) takes it too: 8 squared is within 2 squared plus 64. Red 109 does not:
  // 9 squared is past 1 squared plus 64.
  const std::vector<std::uint32_t> palette{Pack(100, 0, 0), Pack(110, 0, 0), Pack(140, 0, 0)};
  const std::vector<std::uint32_t> row{Pack(100, 0, 0), Pack(108, 0, 0), Pack(109, 0, 0),
                                       Pack(135, 0, 0), Pack(128, 0, 0)};
  std::vector<std::uint8_t> out(row.size());
  PaletteMap(palette).Dither(row.data(), 5, 5, 1, 0.0f, out.data());
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 1, 1, 2, 2}));
  PaletteMap(palette, 64).Dither(row.data(), 5, 5, 1, 0.0f, out.data());
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 0, 1, 2, 2}));
}

}  // namespace
}  // namespace kinetta::exporter
