// kinetta-render's options: values, names, colours, and what is refused.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "cli/cli_messages.h"
#include "render/geometry.h"

namespace kinetta::cli {
namespace {

TEST(CliOptions, ReadsEveryOption) {
  const ParsedArguments parsed = ParseArguments(
      {"--shape", "sphere", "--width-mode=2", "--width", "120", "--background", "#FF8000",
       "--frames", "24", "--shade", "0", "--seed", "99", "--max-side=16", "/p/cat.jpg"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::Run) << parsed.status.message();
  const CliOptions& o = parsed.options;
  EXPECT_EQ(o.shape, 2);
  EXPECT_EQ(o.widthMode, 2);
  EXPECT_EQ(o.width, 120);
  EXPECT_EQ(o.background, render::Compose(255, 128, 0));
  EXPECT_EQ(o.frames, 24);
  EXPECT_EQ(o.shade, 0);
  EXPECT_EQ(o.seed, 99u);
  EXPECT_EQ(o.maxSide, 16);
  EXPECT_EQ(o.sources, std::vector<std::string>{"/p/cat.jpg"});
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
  base.TransparentBack = true;
  base.FrameFiles = base::FrameFormat::Bmp;
  const base::Settings s = ApplyOptions(base, o);
  EXPECT_EQ(s.BackColor, 255);
  EXPECT_EQ(s.ShapeIndex, 5);
  EXPECT_EQ(s.FrameCount, 3);
  EXPECT_TRUE(s.TransparentBack);
  EXPECT_EQ(s.FrameFiles, base::FrameFormat::Bmp);
}

// "transparent" keeps the colour (of the file, or given before it); a colour after it ends it.
TEST(CliOptions, TransparentBackgroundAndFrameFormat) {
  const struct {
    std::vector<std::string> args;
    bool clear;
    render::Colour colour;
    base::FrameFormat format;
  } cases[] = {
      {{"--background", "transparent"}, true, 255, base::FrameFormat::Auto},
      {{"--background=#000010", "--background", "transparent", "--frame-format=png"},
       true,
       render::Compose(0, 0, 16),
       base::FrameFormat::Png},
      {{"--background", "transparent", "--background", "7", "--frame-format", "bmp"},
       false,
       7,
       base::FrameFormat::Bmp},
  };
  base::Settings base;
  base.BackColor = 255;
  base.FrameFiles = base::FrameFormat::Png;
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("a.png");
    const ParsedArguments parsed = ParseArguments(args);
    ASSERT_EQ(parsed.outcome, ParseOutcome::Run) << parsed.status.message();
    base::Settings s = ApplyOptions(base, parsed.options);
    EXPECT_EQ(s.TransparentBack, c.clear) << args[1];
    EXPECT_EQ(s.BackColor, c.colour) << args[1];
    if (c.format != base::FrameFormat::Auto) {
      EXPECT_EQ(s.FrameFiles, c.format) << args[1];
    }
  }
}

// Pictures may come anywhere among the options, several of them; after "--" every word is a
// picture, even one that starts with a dash.
TEST(CliOptions, PicturesOutputAndQuiet) {
  const ParsedArguments parsed =
      ParseArguments({"a.jpg", "-o", "out", "-q", "b.bmp", "--", "-c.jpg", "--frames"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::Run) << parsed.status.message();
  EXPECT_EQ(parsed.options.sources,
            (std::vector<std::string>{"a.jpg", "b.bmp", "-c.jpg", "--frames"}));
  EXPECT_EQ(parsed.options.outputDir, "out");
  EXPECT_TRUE(parsed.options.quiet);
  EXPECT_EQ(ParseArguments({"-oout/%s", "a.jpg"}).options.outputDir, "out/%s");
  EXPECT_EQ(ParseArguments({"--output=o", "a.jpg"}).options.outputDir, "o");
}

TEST(CliOptions, PlaceholderIsThePicturesStem) {
  EXPECT_EQ(ExpandPlaceholder("gif/%s.gif", "cat"), "gif/cat.gif");
  EXPECT_EQ(ExpandPlaceholder("%s-%s 100%% %d%", "cat"), "cat-cat 100% %d%");
  EXPECT_TRUE(HasPlaceholder("x/%s.gif"));
  EXPECT_FALSE(HasPlaceholder("x/%%s.gif"));
  EXPECT_FALSE(HasPlaceholder("x.gif"));
}

struct BadCase {
  std::vector<std::string> args;
  const char* error;
};

class BadArgumentsTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadArgumentsTest, AreUsageErrors) {
  const ParsedArguments parsed = ParseArguments(GetParam().args);
  EXPECT_EQ(parsed.outcome, ParseOutcome::Error);
  EXPECT_EQ(parsed.status.cause(), base::Cause::BadArgument);
  EXPECT_EQ(parsed.status.message(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArgumentsTest,
    testing::Values(
        BadCase{{}, "画像が指定されていません。"}, BadCase{{"-q"}, "画像が指定されていません。"},
        BadCase{{"--frames", "x", "a.jpg"}, "オプション --frames の値 'x' は使えません。"},
        BadCase{{"--frames", "40000", "a.jpg"}, "オプション --frames の値 '40000' は使えません。"},
        BadCase{{"--frames", "0", "a.jpg"}, "オプション --frames の値 '0' は使えません。"},
        BadCase{{"--width", "0", "a.jpg"}, "オプション --width の値 '0' は使えません。"},
        BadCase{{"--shade", "2", "a.jpg"}, "オプション --shade の値 '2' は使えません。"},
        BadCase{{"--width-mode", "3", "a.jpg"}, "オプション --width-mode の値 '3' は使えません。"},
        BadCase{{"--output=", "a.jpg"}, "オプション --output の値 '' は使えません。"},
        BadCase{{"--background", "clear", "a.jpg"},
                "オプション --background の値 'clear' は使えません。"},
        BadCase{{"--max-side", "15", "a.jpg"}, "オプション --max-side の値 '15' は使えません。"},
        BadCase{{"--max-side=16385", "a.jpg"}, "オプション --max-side の値 '16385' は使えません。"},
        BadCase{{"--max-side", "1920px", "a.jpg"},
                "オプション --max-side の値 '1920px' は使えません。"},
        BadCase{{"--frame-format", "gif", "a.jpg"},
                "オプション --frame-format の値 'gif' は使えません。"},
        BadCase{{"--delay", "x", "a.jpg"},
                "オプション --delay の値 'x' は使えません。"
                "(ひとコマの表示秒数には数値を入力してください。)"},
        // Unknown words are not taken for options with a value.
        BadCase{{"--colour", "1", "a.jpg"}, "オプション '--colour' はありません。"},
        BadCase{{"--verison", "a.jpg"}, "オプション '--verison' はありません。"},
        BadCase{{"--frames=3=4", "a.jpg"}, "オプション --frames の値 '3=4' は使えません。"},
        BadCase{{"-x", "a.jpg"}, "オプション '-x' はありません。"},
        BadCase{{"--quiet=yes", "a.jpg"}, "オプション '--quiet' には値を付けられません。"},
        BadCase{{"a.jpg", "--frames"}, "オプション '--frames' には値が要ります。"},
        BadCase{{"a.jpg", "-o"}, "オプション '--output' には値が要ります。"},
        BadCase{{"--check-sticker", "lime", "a.png"},
                "オプション --check-sticker の値 'lime' は使えません。(line, line-main, "
                "line-tab, telegram, discord, discord-emoji, slack のどれか)"},
        BadCase{{"--check-sticker=line"},
                "オプション '--check-sticker' には対象とファイルが要ります。"},
        BadCase{{"--check-sticker"}, "オプション '--check-sticker' には値が要ります。"}));

TEST(CliOptions, HelpAndVersionWinAndUsageNamesEveryOption) {
  EXPECT_EQ(ParseArguments({"--frames", "3", "--help"}).outcome, ParseOutcome::Help);
  EXPECT_EQ(ParseArguments({"a.jpg", "--version", "--bogus"}).outcome, ParseOutcome::Version);
  for (const char* opt : {"--shape", "--width-mode", "--width", "--background", "--frames",
                          "--shade", "--seed", "--output", "--quiet", "--version", "PICTURE",
                          "transparent", "--frame-format", "--max-side"}) {
    EXPECT_NE(UsageText().find(opt), std::string::npos) << opt;
  }
}

}  // namespace
}  // namespace kinetta::cli
