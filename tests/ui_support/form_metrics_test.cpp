// Twips to pixels for the forms' controls, and their nine-point font.
#include "ui_support/form_metrics.h"

#include <gtest/gtest.h>

#include <QWidget>

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

}  // namespace
}  // namespace kinetta::ui
