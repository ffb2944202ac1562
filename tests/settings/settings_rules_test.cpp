// The settings dialog's rules without widgets: reading the number boxes, what OK stores, the
// source-size label and the twips geometry.
#include "settings/settings_rules.h"

#include <gtest/gtest.h>

namespace kinetta::settings {
namespace {

struct BoxCase {
  const char* text;
  std::optional<int> expected;
};

class ReadNumberBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(ReadNumberBoxTest, Reads) {
  const BoxCase c = GetParam();
  EXPECT_EQ(ReadNumberBox(QString::fromUtf8(c.text)), c.expected) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadNumberBoxTest,
    testing::Values(BoxCase{"12.5", 12}, BoxCase{"13.5", 14}, BoxCase{" 1 2", 12},
                    BoxCase{"\t1\n2", 12}, BoxCase{"12ab", 12}, BoxCase{"abc", 0}, BoxCase{"", 0},
                    BoxCase{"-7", -7}, BoxCase{"1e3", 1000}, BoxCase{"32767", 32767},
                    BoxCase{"-32768.5", -32768}, BoxCase{"32767.5", std::nullopt},
                    BoxCase{"40000", std::nullopt}, BoxCase{"-32769", std::nullopt},
                    BoxCase{"1e999", std::nullopt},
                    // typed through a Japanese input method: full-width digits, point, blank
                    BoxCase{"１２．５", 12}, BoxCase{"　３０", 30}));

base::Settings Stored() {
  base::Settings s;
  s.ShapeIndex = 4;
  s.WidthMode = 2;
  s.WidthValue = 50;
  s.BackColor = 0x123456;
  s.FrameCount = 9;
  s.Shade3D = 1;
  return s;
}

TEST(ReadDialog, TypedShapeAndMissingOptionKeepTheirSettings) {
  // "平面 " (with a blank) and "円" name no entry; the comparison is exact.
  for (const char* typed : {"平面 ", "円", ""}) {
    const OkReading r =
        ReadDialog({QString::fromUtf8(typed), kNoOption, "", 0, Qt::Checked, "1"}, Stored());
    EXPECT_EQ(r.settings.ShapeIndex, 4) << typed;
    EXPECT_EQ(r.settings.WidthMode, 2) << typed;
  }
}

TEST(ReadDialog, WidthBoxIsReadFirstAndARefusalStoresNothing) {
  const OkReading r = ReadDialog({"円盤", 0, "40000", 0, Qt::Unchecked, "-40000"}, Stored());
  EXPECT_EQ(r.refusal, Refusal::Width);
  EXPECT_EQ(r.settings, Stored());
}

TEST(SizeLabelText, WholeAndFractionalPixels) {
  EXPECT_EQ(SizeLabelText(4800, 3600, {15, 15}), QStringLiteral("(原図サイズ: 320X 240)"));
  // 4801 / 15 = 320.0666..., seven significant digits
  EXPECT_EQ(SizeLabelText(4801, 3600, {15, 15}), QStringLiteral("(原図サイズ: 320.0667X 240)"));
  // horizontal and vertical twips per pixel apart: 3600 / 12 = 300
  EXPECT_EQ(SizeLabelText(4800, 3600, {15, 12}), QStringLiteral("(原図サイズ: 320X 300)"));
  EXPECT_EQ(GeneralNumberText(0.5f), QStringLiteral(" 0.5"));
  EXPECT_EQ(GeneralNumberText(-2.0f), QStringLiteral("-2"));
}

TEST(Colours, PackedRedLow) {
  EXPECT_EQ(PackColour(QColor(1, 2, 3)), 1 + 256 * 2 + 65536 * 3);
  EXPECT_EQ(UnpackColour(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(UnpackColour(0xFF0000), QColor(0, 0, 255));
}

}  // namespace
}  // namespace kinetta::settings
