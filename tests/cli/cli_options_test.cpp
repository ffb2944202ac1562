// kinetta-render's options: values, names, colours, and what is refused.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "render/geometry.h"

namespace kinetta::cli {
namespace {

TEST(CliOptions, ReadsEveryOption) {
  const ParsedArguments parsed =
      ParseArguments({"--shape", "sphere", "--width-mode=2", "--width", "120", "--background",
                      "#FF8000", "--frames", "24", "--shade", "0", "--seed", "99", "/p/cat.jpg"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::Run) << parsed.error;
  const CliOptions& o = parsed.options;
  EXPECT_EQ(o.shape, 2);
  EXPECT_EQ(o.widthMode, 2);
  EXPECT_EQ(o.width, 120);
  EXPECT_EQ(o.background, render::Compose(255, 128, 0));
  EXPECT_EQ(o.frames, 24);
  EXPECT_EQ(o.shade, 0);
  EXPECT_EQ(o.seed, 99u);
  EXPECT_EQ(o.source, "/p/cat.jpg");
  const base::Settings s = ApplyOptions(base::Settings{}, o);
  EXPECT_EQ(s.ShapeIndex, 2);
  EXPECT_EQ(s.FrameCount, 24);
}

TEST(CliOptions, ShapesByNumberOrName) {
  const char* names[] = {"plane", "disk", "sphere", "cylinder", "flag",
                         "water", "flip", "cutout", "fadein"};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(ParseShape(names[i]), i);
    EXPECT_EQ(ParseShape(std::to_string(i)), i);
  }
  EXPECT_FALSE(ParseShape("9").has_value());
  EXPECT_FALSE(ParseShape("Sphere").has_value());
}

TEST(CliOptions, ColoursPackedOrHex) {
  EXPECT_EQ(ParseColour("16777215"), 16777215);
  EXPECT_EQ(ParseColour("#0000ff"), 65536 * 255);
  EXPECT_EQ(ParseColour("#102030"), render::Compose(0x10, 0x20, 0x30));
  EXPECT_FALSE(ParseColour("#12345").has_value());
  EXPECT_FALSE(ParseColour("#GG0000").has_value());
  EXPECT_FALSE(ParseColour("16777216").has_value());
  EXPECT_FALSE(ParseColour("-1").has_value());
}

TEST(CliOptions, OptionsNotGivenKeepTheBase) {
  CliOptions o;
  o.frames = 3;
  base::Settings base;
  base.BackColor = 255;
  base.ShapeIndex = 5;
  const base::Settings s = ApplyOptions(base, o);
  EXPECT_EQ(s.BackColor, 255);
  EXPECT_EQ(s.ShapeIndex, 5);
  EXPECT_EQ(s.FrameCount, 3);
}

struct BadCase {
  std::vector<std::string> args;
  const char* fragment;
};

class BadArgumentsTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadArgumentsTest, AreUsageErrors) {
  const ParsedArguments parsed = ParseArguments(GetParam().args);
  EXPECT_EQ(parsed.outcome, ParseOutcome::Error);
  EXPECT_NE(parsed.error.find(GetParam().fragment), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArgumentsTest,
    testing::Values(BadCase{{}, "no SOURCE"}, BadCase{{"--frames", "x", "a.jpg"}, "--frames"},
                    BadCase{{"--frames", "40000", "a.jpg"}, "--frames"},
                    BadCase{{"--width", "0", "a.jpg"}, "--width"},
                    BadCase{{"--shade", "2", "a.jpg"}, "--shade"},
                    BadCase{{"--width-mode", "3", "a.jpg"}, "--width-mode"},
                    BadCase{{"--colour", "1", "a.jpg"}, "unknown option"},
                    BadCase{{"a.jpg", "b.jpg"}, "only one"},
                    BadCase{{"a.jpg", "--frames"}, "needs a value"}));

TEST(CliOptions, HelpWinsAndUsageNamesEveryOption) {
  EXPECT_EQ(ParseArguments({"--frames", "3", "--help"}).outcome, ParseOutcome::Help);
  for (const char* opt : {"--shape", "--width-mode", "--width", "--background", "--frames",
                          "--shade", "--seed", "SOURCE"}) {
    EXPECT_NE(UsageText().find(opt), std::string::npos) << opt;
  }
}

}  // namespace
}  // namespace kinetta::cli
