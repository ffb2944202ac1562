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

struct NoteCase {
  const char* shape;
  int selectedOption;
  const char* width;
  const char* frames;
  const char* note;  // empty: the preview plays
  int pictureHeight = 120;
  ProblemField refused = ProblemField::None;  // the control OK refuses
};

class PreviewNoteTest : public testing::TestWithParam<NoteCase> {};

// The stored width mode is 2, so a missing option (an edited file's mode 5) is what gives a frame
// no width.
TEST_P(PreviewNoteTest, SaysWhyNoFrameIsPlayed) {
  const NoteCase c = GetParam();
  base::Settings stored = Stored();
  if (c.selectedOption == kNoOption) stored.WidthMode = 5;
  const DialogInput input{
      QString::fromUtf8(c.shape), c.selectedOption, c.width, 0, Qt::Checked, c.frames};
  const OkReading reading = ReadDialog(input, stored);
  EXPECT_EQ(PreviewNote(input, reading, 160, c.pictureHeight), QString::fromUtf8(c.note))
      << c.shape << " " << c.width << " " << c.frames;
  const InputProblem problem = ProblemOf(input, reading);
  EXPECT_EQ(problem.field, c.refused) << c.shape << " " << c.width << " " << c.frames;
  EXPECT_EQ(problem.reason,
            c.refused == ProblemField::None ? QString() : QString::fromUtf8(c.note));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PreviewNoteTest,
    testing::Values(
        NoteCase{"平面", 2, "100", "12", ""},
        NoteCase{"平面", 2, "40000", "12", "横幅の数が範囲外です。", 120, ProblemField::Width},
        NoteCase{"平面", 2, "100", "-40000", "こま数が範囲外です。", 120, ProblemField::Frames},
        NoteCase{"三角", 2, "100", "12", "一覧にない形状です。", 120, ProblemField::Shape},
        NoteCase{"平", 2, "100", "12", "一覧にない形状です。", 120, ProblemField::Shape},
        NoteCase{"球体", 1, "", "0", "こま数が 1 より小さく、こまができません。", 120,
                 ProblemField::Frames},
        NoteCase{"平面", 2, "100", "abc", "こま数が 1 より小さく、こまができません。", 120,
                 ProblemField::Frames},
        NoteCase{"平面", kNoOption, "", "12", "こまが 1 ピクセルより小さくなります。"},
        // the flag sizes its frame from the picture alone
        NoteCase{"旗", kNoOption, "", "12", ""},
        NoteCase{"表裏回転", 2, "100", "12", "原画が低すぎて上下二つの面に分けられません。", 1},
        NoteCase{"表裏回転", 2, "100", "12", "", 2}));

TEST(SizeLabelText, WholeAndFractionalPixels) {
  EXPECT_EQ(SizeLabelText(320, 240), QStringLiteral("(原図サイズ: 320X 240)"));
  // 4801 twips / 15 = 320.0666..., seven significant digits
  EXPECT_EQ(SizeLabelText(4801.0f / 15, 240), QStringLiteral("(原図サイズ: 320.0667X 240)"));
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
