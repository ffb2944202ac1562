// Twips to pixels for the forms' controls, and their nine-point font.
#include "ui_support/form_metrics.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <vector>

namespace kinetta::ui {
namespace {

TEST(TwipsToPixels, RoundsEachEdgeSeparately) {
  // 240 / 15 = 16, 120 / 15 = 8, 1812 / 15 = 120.8, 852 / 15 = 56.8
  EXPECT_EQ(TwipsToPixels(240, 120, 1812, 852, {15, 15}), QRect(16, 8, 121, 57));
  EXPECT_EQ(TwipsToPixels(240, 120, 1812, 852, {12, 10}), QRect(20, 12, 151, 85));
}

TEST(TwipsToPixels, HalvesGoToTheEvenPixelAsInTheWindowLayout) {
  // 6 / 12 = 0.5, 18 / 12 = 1.5, 30 / 12 = 2.5, 42 / 12 = 3.5
  EXPECT_EQ(TwipsToPixels(6, 18, 30, 42, {12, 12}), QRect(0, 2, 2, 4));
}

TEST(NinePointFont, IsOneHundredEightyTwipsHigh) {
  QWidget form;
  UseNinePointFont(form, {15, 15});
  EXPECT_EQ(form.font().pixelSize(), 12);
  UseNinePointFont(form, {12, 12});
  EXPECT_EQ(form.font().pixelSize(), 15);
  UseNinePointFont(form, {1000, 1000});  // never below a pixel
  EXPECT_EQ(form.font().pixelSize(), 1);
}

struct PlaceCase {
  const char* name;
  QRect contents;
  std::vector<QRect> design;
  std::vector<QRect> expected;
  int missing;
};

TEST(PlaceInFrame, MovesTheRowsBelowTheCaptionAndKeepsThemApart) {
  const PlaceCase cases[] = {
      // Two rows 6 apart move from 16 to the contents' top 20, the gap kept.
      {"room enough",
       {3, 20, 115, 42},
       {{8, 16, 33, 17}, {48, 16, 33, 18}, {8, 40, 73, 17}},
       {{8, 20, 33, 17}, {48, 20, 33, 18}, {8, 44, 73, 17}},
       0},
      // Rows that overlap by a pixel come apart; the 6-pixel gap gives up the pixel needed.
      {"tight",
       {3, 20, 155, 74},
       {{8, 16, 113, 17}, {8, 32, 89, 17}, {8, 48, 49, 17}, {56, 48, 97, 18}, {8, 72, 145, 17}},
       {{8, 20, 113, 17}, {8, 37, 89, 17}, {8, 54, 48, 17}, {56, 54, 97, 18}, {8, 77, 145, 17}},
       0},
      // A button on a swatch stays on it; a control wider than the contents is cut at the edge.
      {"on a swatch",
       {3, 20, 115, 34},
       {{8, 16, 89, 33}, {32, 24, 41, 17}, {8, 60, 200, 10}},
       {{8, 20, 89, 33}, {32, 28, 41, 17}, {8, 53, 110, 10}},
       9},
  };
  for (const PlaceCase& c : cases) {
    const FramePlacement placed = PlaceInFrame(c.contents, c.design);
    EXPECT_EQ(placed.controls, c.expected) << c.name;
    EXPECT_EQ(placed.missingHeight, c.missing) << c.name;
  }
}

}  // namespace
}  // namespace kinetta::ui
