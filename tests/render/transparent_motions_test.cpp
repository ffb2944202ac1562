// The nine motions over a clear background, on a figure of opaque and half-transparent pixels on
// nothing: transparency moves with the pixels, the light and the water tint change only colours,
// the background is clear, and the fade-in and the cut-out blend opacity with colour.
#include <gtest/gtest.h>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/fade_in.h"
#include "render/transparency.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

// An opaque body of varied colours in a half-transparent frame; row 6 holds an opaque strip
// whose stencil 8 rows below (for the cut-out) is white, black and half-transparent white.
Surface Figure() {
  Surface s(24, 16, kClear);
  for (int y = 3; y <= 12; ++y) {
    for (int x = 6; x <= 17; ++x) {
      const bool edge = x == 6 || x == 17 || y == 3 || y == 12;
      s.PSet(x, y,
             edge ? WithOpacity(Compose(250, 250, 20), 128) : Compose(200, 40 + 5 * x, 7 * y));
    }
  }
  for (int x = 0; x < 6; ++x) {
    s.PSet(x, 6, Compose(90, 180, 60));
    s.PSet(x, 14, x < 2 ? 0xFFFFFF : x < 4 ? 0 : WithOpacity(0xFFFFFF, 128));
  }
  return s;
}

// `s` with each pixel replaced by f(pixel).
template <typename F>
Surface Mapped(Surface s, F f) {
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) s.PSet(x, y, f(s.Point(x, y)));
  }
  return s;
}

Settings SettingsFor(Shape shape, int shade, bool clear) {
  Settings s;
  s.ShapeIndex = static_cast<int>(shape);
  s.Shade3D = shade;
  s.FrameCount = 5;
  s.WidthMode = 0;
  s.BackColor = Compose(10, 120, 230);
  s.TransparentBack = clear;
  return s;
}

// Moves: the opacity goes where an opaque grey picture of it goes (over black, unshaded but for
// the flip, whose switch also moves pixels), the colour as the opaque picture's. ColourMoves: the
// colour only. CrossFade: the colour stays, the opacity rises. Dots: each pixel the picture's or
// clear. Stencil: the cut-out's stencil, checked after.
enum class Rule { Moves, ColourMoves, CrossFade, Dots, Stencil };

TEST(TransparentMotions, EachMotionKeepsItsRuleForTransparency) {
  const struct {
    Shape shape;
    int shade;
    Rule rule;
  } cases[] = {
      {Shape::Plane, 0, Rule::Moves},    {Shape::Plane, 1, Rule::Moves},
      {Shape::Disk, 1, Rule::Moves},     {Shape::Sphere, 0, Rule::Moves},
      {Shape::Sphere, 1, Rule::Moves},   {Shape::Cylinder, 0, Rule::Moves},
      {Shape::Cylinder, 1, Rule::Moves}, {Shape::Flag, 0, Rule::Moves},
      {Shape::Water, 0, Rule::Moves},    {Shape::Water, 1, Rule::Moves},
      {Shape::Flip, 0, Rule::Moves},     {Shape::Flip, 1, Rule::ColourMoves},
      {Shape::Cutout, 0, Rule::Stencil}, {Shape::FadeIn, 0, Rule::CrossFade},
      {Shape::FadeIn, 1, Rule::Dots},
  };
  const Surface figure = Figure();
  const Surface opacity = Mapped(figure, [](Colour c) { return OpacityOf(c) * 0x010101; });
  const Surface colours = Mapped(figure, [](Colour c) { return c & 0xFFFFFF; });
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << FindMotion(static_cast<int>(c.shape))->id << " " << c.shade);
    const auto frames = test::RenderAll(figure, SettingsFor(c.shape, c.shade, true), 3);
    Settings grey = SettingsFor(c.shape, c.shape == Shape::Flip ? c.shade : 0, false);
    grey.BackColor = 0;
    const auto opacities = test::RenderAll(opacity, grey, 3);
    const auto opaque = test::RenderAll(colours, SettingsFor(c.shape, c.shade, false), 3);
    ASSERT_EQ(frames.size(), 5u);
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const Surface& f = frames[k];
      int clear = 0;
      for (int y = 0; y < f.height(); ++y) {
        for (int x = 0; x < f.width(); ++x) {
          const Colour p = f.Point(x, y);
          SCOPED_TRACE(testing::Message() << x << "," << y << " frame " << k);
          ASSERT_TRUE(OpacityOf(p) > 0 || p == kClear);
          clear += p == kClear;
          const Colour source = figure.Point(x, y) == kOutside ? kClear : figure.Point(x, y);
          const int fade = fadein::CrossFade(0, OpacityOf(source), static_cast<int>(k), 5);
          if (c.rule == Rule::Moves) {
            ASSERT_EQ(OpacityOf(p), opacities[k].Point(x, y) & 0xFF);
          }
          if ((c.rule == Rule::Moves || c.rule == Rule::ColourMoves) && p != kClear) {
            ASSERT_EQ(p & 0xFFFFFF, opaque[k].Point(x, y));
          }
          if (c.rule == Rule::CrossFade) {
            ASSERT_EQ(p, WithOpacity(source, fade));
          }
          if (c.rule == Rule::Dots) {
            ASSERT_TRUE(p == source || (k < 4 && p == kClear));
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
    if (c.rule == Rule::Stencil) {  // frame 0 is not slid: the stencil lies 8 rows below
      for (int x = 0; x < 6; ++x) {
        const Colour kept = figure.Point(x, 6);
        EXPECT_EQ(frames[0].Point(x, 6), x < 2 ? kept : x < 4 ? kClear : WithOpacity(kept, 128));
      }
      EXPECT_EQ(frames[0].Point(10, 7), kClear) << "under a clear stencil";
    }
  }
}

}  // namespace
}  // namespace kinetta::render
