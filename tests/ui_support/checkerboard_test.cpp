// Transparent pixels of frames and pictures shown over the board of squares.
#include "ui_support/checkerboard.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "image/picture_file.h"
#include "render/transparency.h"

namespace kinetta::ui {
namespace {

render::Surface Filled(std::uint32_t pixel) {
  render::Surface s(16, 16);
  for (int y = 0; y < 16; ++y) std::fill_n(s.Row(y), 16, pixel);
  return s;
}

// A 16 x 16 frame of `c` (render::Colour, the engine's convention), or a picture of the same
// pixel with its opacity kept the decoders' way, painted at (3, 5) on a magenta canvas: the squares
// start at the frame's corner, grey first, and nothing is painted outside it.
TEST(Checkerboard, ShowsThroughTransparentPixels) {
  const render::Colour red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
  const render::Colour grey = 0xCCCCCC, white = 0xFFFFFF;
  struct Case {
    const char* what;
    render::Colour pixel;
    bool asPicture;
  };
  const Case cases[] = {
      {"clear frame pixel", render::kClear, false},
      {"half-transparent red frame pixel", render::WithOpacity(red, 128), false},
      {"nearly clear green frame pixel", render::WithOpacity(green, 3), false},
      {"opaque blue frame pixel", blue, false},
      {"quarter-opaque green picture pixel", render::WithOpacity(green, 64), true},
  };
  for (const Case& c : cases) {
    QImage image;
    if (c.asPicture) {
      image::Picture picture;
      picture.pixels = Filled((static_cast<std::uint32_t>(c.pixel) & 0xFFFFFFu) |
                              (static_cast<std::uint32_t>(render::OpacityOf(c.pixel)) << 24));
      picture.hasAlpha = true;
      image = image::ImageFromPicture(picture);
    } else {
      image = image::ImageFromSurface(Filled(static_cast<std::uint32_t>(c.pixel)));
    }
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.fill(Qt::magenta);
    {
      QPainter p(&canvas);
      DrawOverCheckerboard(p, QRectF(3, 5, 16, 16), image);
    }
    auto near = [&](int x, int y, render::Colour expected) {
      const QRgb got = canvas.pixel(x, y);
      const int want[3] = {expected & 0xFF, (expected >> 8) & 0xFF, (expected >> 16) & 0xFF};
      const int have[3] = {qRed(got), qGreen(got), qBlue(got)};
      for (int i = 0; i < 3; ++i) {
        if (std::abs(want[i] - have[i]) > 1) {
          ADD_FAILURE() << c.what << " at " << x << "," << y << ": " << have[0] << " " << have[1]
                        << " " << have[2] << ", expected " << want[0] << " " << want[1] << " "
                        << want[2];
          return;
        }
      }
    };
    for (const auto& [x, y] : {std::pair{3, 5}, {10, 12}, {11, 13}, {18, 20}}) {
      near(x, y, render::Over(c.pixel, grey));
    }
    for (const auto& [x, y] : {std::pair{11, 5}, {10, 13}, {3, 13}, {18, 12}}) {
      near(x, y, render::Over(c.pixel, white));
    }
    EXPECT_EQ(canvas.pixel(2, 5), QColor(Qt::magenta).rgb()) << c.what;
    EXPECT_EQ(canvas.pixel(19, 21), QColor(Qt::magenta).rgb()) << c.what;
  }
}

}  // namespace
}  // namespace kinetta::ui
