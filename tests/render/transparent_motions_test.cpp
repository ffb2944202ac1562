// The nine motions over a clear background, on a figure with opaque and half-transparent pixels
// on nothing: the transparency moves with the pixels, the light and the water tint change only
// the colour, what a motion paints as background is clear, and the fade-in and the cut-out
// blend opacity with colour.
#include <gtest/gtest.h>

#include <functional>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/fade_in.h"
#include "render/transparency.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

constexpr int kW = 24, kH = 16;
constexpr Colour kWhite = 0xFFFFFF;

// A figure on nothing: an opaque body of varied colours in a half-transparent frame; row 6
// holds an opaque strip whose stencil below (row 14, for the cut-out) is white, black and
// half-transparent white.
Surface Figure() {
  Surface s(kW, kH, kClear);
  for (int y = 3; y <= 12; ++y) {
    for (int x = 6; x <= 17; ++x) {
      const bool edge = x == 6 || x == 17 || y == 3 || y == 12;
      s.PSet(x, y,
             edge ? WithOpacity(Compose(250, 250, 20), 128) : Compose(200, 40 + 5 * x, 7 * y));
    }
  }
  for (int x = 0; x < 6; ++x) {
    s.PSet(x, 6, Compose(90, 180, 60));
    s.PSet(x, 14, x < 2 ? kWhite : x < 4 ? 0 : WithOpacity(kWhite, 128));
  }
  return s;
}

// The same picture with each pixel's opacity as an opaque grey, or its colour made opaque.
Surface Mapped(const Surface& s, const std::function<Colour(Colour)>& f) {
  Surface out(s.width(), s.height());
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) out.PSet(x, y, f(s.Point(x, y)));
  }
  return out;
}

Settings SettingsFor(int shape, int shade, bool clear) {
  Settings s;
  s.ShapeIndex = shape;
  s.Shade3D = shade;
  s.FrameCount = 5;
  s.WidthMode = 0;
  s.BackColor = Compose(10, 120, 230);
  s.TransparentBack = clear;
  return s;
}

enum class Rule {
  Moves,        // opacity as an opaque grey picture moves; colours as the opaque picture's
  ColourMoves,  // colours as the opaque picture's (the switch also changes where pixels go)
  CrossFade,    // the colour stays, the opacity rises frame by frame
  Dots,         // each pixel the picture's or clear
  Stencil,      // the cut-out's stencil
};

struct Case {
  Shape shape;
  int shade;
  Rule rule;
};

constexpr Case kCases[] = {
    {Shape::Plane, 0, Rule::Moves},    {Shape::Plane, 1, Rule::Moves},
    {Shape::Disk, 1, Rule::Moves},     {Shape::Sphere, 0, Rule::Moves},
    {Shape::Sphere, 1, Rule::Moves},   {Shape::Cylinder, 0, Rule::Moves},
    {Shape::Cylinder, 1, Rule::Moves}, {Shape::Flag, 0, Rule::Moves},
    {Shape::Water, 0, Rule::Moves},    {Shape::Water, 1, Rule::Moves},
    {Shape::Flip, 0, Rule::Moves},     {Shape::Flip, 1, Rule::ColourMoves},
    {Shape::Cutout, 0, Rule::Stencil}, {Shape::FadeIn, 0, Rule::CrossFade},
    {Shape::FadeIn, 1, Rule::Dots},
};

TEST(TransparentMotions, EachMotionKeepsItsRuleForTransparency) {
  const Surface figure = Figure();
  const Surface opacity = Mapped(figure, [](Colour c) {
    const int a = OpacityOf(c);
    return Compose(a, a, a);
  });
  const Surface colours = Mapped(figure, [](Colour c) { return c & 0xFFFFFF; });
  for (const Case& c : kCases) {
    const int shape = static_cast<int>(c.shape);
    SCOPED_TRACE(testing::Message() << FindMotion(shape)->id << " switch " << c.shade);
    const Settings s = SettingsFor(shape, c.shade, true);
    const auto frames = test::RenderAll(figure, s, 3);
    // The opacity pictures' grey over black: a moved, unshaded opacity (the plane's, sphere's,
    // cylinder's and water's switch changes only colours).
    Settings grey = SettingsFor(shape, c.shade, false);
    grey.BackColor = 0;
    if (c.shape != Shape::Flip) grey.Shade3D = 0;
    const auto opacities = test::RenderAll(opacity, grey, 3);
    const auto opaque = test::RenderAll(colours, SettingsFor(shape, c.shade, false), 3);
    ASSERT_EQ(frames.size(), 5u);
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const Surface& f = frames[k];
      int clear = 0;
      for (int y = 0; y < f.height(); ++y) {
        for (int x = 0; x < f.width(); ++x) {
          const Colour p = f.Point(x, y);
          ASSERT_TRUE(OpacityOf(p) > 0 || p == kClear) << x << "," << y << " frame " << k;
          clear += p == kClear;
          const Colour source = x < kW && y < kH ? figure.Point(x, y) : kClear;
          switch (c.rule) {
            case Rule::Moves:
              ASSERT_EQ(OpacityOf(p), opacities[k].Point(x, y) & 0xFF)
                  << x << "," << y << " frame " << k << std::hex << " " << p << " src "
                  << figure.Point(x, y);
              [[fallthrough]];
            case Rule::ColourMoves:
              if (p != kClear) {
                ASSERT_EQ(p & 0xFFFFFF, opaque[k].Point(x, y)) << x << "," << y;
              }
              break;
            case Rule::CrossFade: {
              const int a = fadein::CrossFade(0, OpacityOf(source), static_cast<int>(k), 5);
              ASSERT_EQ(p, WithOpacity(source, a)) << x << "," << y << " frame " << k;
              break;
            }
            case Rule::Dots:
              ASSERT_TRUE(p == source || (k < 4 && p == kClear)) << x << "," << y;
              break;
            case Rule::Stencil:
              break;
          }
        }
      }
      // Round the figure all is clear; the fade-in's first frame is nothing but background.
      if (k == 0 && c.shape == Shape::FadeIn) {
        EXPECT_EQ(clear, f.width() * f.height());
      } else {
        EXPECT_GT(clear, 0);
      }
    }
    if (c.rule == Rule::Stencil) {
      const Surface& f = frames[0];  // not slid: the stencil lies 8 rows below each pixel
      for (int x = 0; x < 6; ++x) {
        const Colour expected = x < 2   ? figure.Point(x, 6)
                                : x < 4 ? kClear
                                        : WithOpacity(figure.Point(x, 6), 128);
        EXPECT_EQ(f.Point(x, 6), expected) << x;
      }
      EXPECT_EQ(f.Point(10, 7), kClear) << "under a clear stencil";
    }
  }
}

}  // namespace
}  // namespace kinetta::render
