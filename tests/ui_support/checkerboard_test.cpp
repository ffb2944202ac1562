// Transparent pixels of frames and pictures shown over the board of squares.
#include "ui_support/checkerboard.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <tuple>

#include "image/picture_file.h"
#include "render/transparency.h"

namespace kinetta::ui {
namespace {

// A 16 x 16 frame of one pixel (the engine's convention), or a picture of it (the decoders'),
// painted at (3, 5) on a magenta canvas: the squares count from the frame's corner, grey first,
// each pixel shows laid over its square, and nothing is painted outside the frame.
TEST(Checkerboard, ShowsThroughTransparentPixels) {
  const render::Colour red = 0x0000FF, green = 0x00FF00;
  const struct {
    render::Colour pixel;
    bool asPicture;
  } cases[] = {{render::kClear, false},
               {render::WithOpacity(red, 128), false},
               {render::WithOpacity(green, 3), false},
               {0xFF0000, false},
               {render::WithOpacity(green, 64), true}};
  for (const auto& c : cases) {
    image::Picture picture{render::Surface(16, 16), c.asPicture, {}, {}};
    const std::uint32_t opacity = static_cast<std::uint32_t>(render::OpacityOf(c.pixel));
    const std::uint32_t stored = c.asPicture ? (c.pixel & 0xFFFFFFu) | (opacity << 24) : c.pixel;
    for (int y = 0; y < 16; ++y) std::fill_n(picture.pixels.Row(y), 16, stored);
    const QImage image =
        c.asPicture ? image::ImageFromPicture(picture) : image::ImageFromSurface(picture.pixels);
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.fill(Qt::magenta);
    {
      QPainter painter(&canvas);
      DrawOverCheckerboard(painter, QRectF(3, 5, 16, 16), image);
    }
    for (const auto& [x, y, square] :
         {std::tuple{3, 5, 0xCCCCCC}, {11, 13, 0xCCCCCC}, {11, 5, 0xFFFFFF}, {3, 13, 0xFFFFFF}}) {
      const QRgb got = canvas.pixel(x, y);
      const render::Colour want = render::Over(c.pixel, square);
      for (const int part : {0, 1, 2}) {
        const int have = part == 0 ? qRed(got) : part == 1 ? qGreen(got) : qBlue(got);
        EXPECT_NEAR(have, (want >> (8 * part)) & 0xFF, 1)
            << std::hex << c.pixel << " at " << std::dec << x << "," << y << " part " << part;
      }
    }
    EXPECT_EQ(canvas.pixel(2, 5), qRgb(255, 0, 255));
    EXPECT_EQ(canvas.pixel(19, 21), qRgb(255, 0, 255));
  }
}

}  // namespace
}  // namespace kinetta::ui
