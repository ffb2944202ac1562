// kinetta-render --gif / --webp / --mp4 / --apng / --delay: the options, and the animation files
// written from the frame files after a run that produced every frame.
#include <gtest/gtest.h>

#include <sstream>

#include "animation_decoder.h"
#include "base/path_helpers.h"
#include "cli/cli_fixture.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "image/bmp_file.h"
#include "image/picture_file.h"
#include "render/geometry.h"
#include "test_support.h"
#include "video_decoder.h"

namespace kinetta::cli {
namespace {

namespace fs = std::filesystem;

TEST(CliAnimationOptions, FilesAndDelay) {
  const ParsedArguments parsed = ParseArguments(
      {"--gif", "a.gif", "--webp=b.webp", "--mp4", "c.mp4", "--apng=d.png", "--webm", "e.webm",
       "--delay", "0.125", "--matte", "#FF8000", "--webp-quality=80", "c.bmp"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::Run) << parsed.status.message();
  const CliOptions& o = parsed.options;
  EXPECT_EQ(o.gifPath, "a.gif");
  EXPECT_EQ(o.webpPath, "b.webp");
  EXPECT_EQ(o.mp4Path, "c.mp4");
  EXPECT_EQ(o.apngPath, "d.png");
  EXPECT_EQ(o.webmPath, "e.webm");
  EXPECT_EQ(o.delay.gifCentiseconds, 12);
  EXPECT_EQ(o.delay.webpMilliseconds, 125);
  EXPECT_EQ(o.matte, render::Compose(255, 128, 0));
  EXPECT_EQ(o.webpQuality, 80);

  const ParsedArguments plain = ParseArguments({"c.bmp"});
  ASSERT_EQ(plain.outcome, ParseOutcome::Run);
  EXPECT_EQ(plain.options.delay.gifCentiseconds, 20);
  EXPECT_EQ(plain.options.delay.webpMilliseconds, 200);

  for (std::vector<std::string> bad : {std::vector<std::string>{"--delay", "abc", "c.bmp"},
                                       {"--delay", "33", "c.bmp"},
                                       {"--gif=", "c.bmp"},
                                       {"c.bmp", "--webp"},
                                       {"--mp4=", "c.bmp"},
                                       {"c.bmp", "--apng"},
                                       {"--matte", "red", "c.bmp"},
                                       {"--webp-quality", "0", "c.bmp"},
                                       {"--webp-quality", "101", "c.bmp"}}) {
    EXPECT_EQ(ParseArguments(bad).outcome, ParseOutcome::Error) << bad[0];
  }
}

using CliAnimationTest = CliFixture;

// The frame files 0 .. count - 1 of `source`, up to the first that cannot be read.
std::vector<render::Surface> FramesOf(const std::string& source, int count) {
  std::vector<render::Surface> frames;
  for (int k = 0; k < count; ++k) {
    base::Result<image::Picture> frame = image::LoadPicture(base::FrameFileName(source, k));
    if (!frame.ok()) break;
    frames.push_back(std::move(frame).value().pixels);
  }
  return frames;
}

TEST_F(CliAnimationTest, WritesBothFilesFromTheFramesJustRendered) {
  const fs::path gif = pics_ / "cat.gif", webp = pics_ / "out" / "cat.webp";
  fs::create_directory(pics_ / "out");
  ASSERT_EQ(Run({"--shape", "disk", "--frames", "3", "--delay", "0.5", "--gif", gif.string(),
                 "--webp", webp.string(), Source()}),
            kExitOk)
      << err_.str();
  EXPECT_NE(out_.str().find(gif.string()), std::string::npos) << out_.str();

  const std::vector<render::Surface> frames = FramesOf(Source(), 3);
  ASSERT_EQ(frames.size(), 3u);
  const test::DecodedAnimation g = test::DecodeGif(gif);
  ASSERT_TRUE(g.ok) << g.error;
  EXPECT_EQ(g.delays, std::vector<int>(3, 50));
  EXPECT_EQ(g.frames.size(), 3u);
  const test::DecodedAnimation w = test::DecodeWebp(webp);
  ASSERT_TRUE(w.ok) << w.error;
  EXPECT_EQ(w.delays, std::vector<int>(3, 500));
  ASSERT_EQ(w.frames.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(w.frames[k] == frames[k]) << "frame " << k;
}

TEST_F(CliAnimationTest, WritesTheVideoAndTheApngWithTheRunsBackgroundInThePadding) {
  const fs::path mp4 = pics_ / "cat.mp4", apng = pics_ / "cat.png";
  ASSERT_EQ(Run({"--shape", "plane", "--width-mode", "2", "--width", "41", "--background",
                 "#00FF00", "--frames", "3", "--delay", "0.1", "--mp4", mp4.string(), "--apng",
                 apng.string(), Source()}),
            kExitOk)
      << err_.str();
  const std::vector<render::Surface> frames = FramesOf(Source(), 3);
  ASSERT_EQ(frames.size(), 3u);
  const test::DecodedVideo a = test::DecodeVideo(apng);
  ASSERT_TRUE(a.ok) << a.error;
  EXPECT_EQ(a.delays, std::vector<int>(3, 100));
  ASSERT_EQ(a.frames.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(a.frames[k] == frames[k]) << "frame " << k;

  const test::DecodedVideo v = test::DecodeVideo(mp4);
  ASSERT_TRUE(v.ok) << v.error;
  EXPECT_EQ(v.codec, "h264");
  EXPECT_EQ(v.frameRateNum, 10 * v.frameRateDen);
  ASSERT_EQ(v.frames.size(), 3u);
  // 41 pixels wide: the added column is the run's green, not the picture at the frame's edge.
  ASSERT_EQ(frames[0].width(), 41);
  EXPECT_EQ(v.width, 42);
  const render::Colour shown = v.frames[0].Point(41, frames[0].height() / 2);
  EXPECT_GT((shown >> 8) & 0xFF, 200u) << std::hex << shown;
  EXPECT_NE(frames[0].Point(40, frames[0].height() / 2) & 0xFF00, 0xFF00);
}

TEST_F(CliAnimationTest, AFileThatCannotBeWrittenFailsAfterTheFrames) {
  const fs::path gif = pics_ / "missing" / "cat.gif";
  EXPECT_EQ(Run({"--frames", "2", "--gif", gif.string(), Source()}), kExitFailed);
  EXPECT_NE(err_.str().find(gif.string()), std::string::npos) << err_.str();
  EXPECT_TRUE(fs::exists(base::FrameFileName(Source(), 1)));
  EXPECT_FALSE(fs::exists(gif));
}

// An animation file over the source or a frame is refused before any frame is written.
TEST_F(CliAnimationTest, AFileOverTheSourceOrAFrameIsRefusedFirst) {
  const std::string before = FileBytes("cat.bmp");
  for (const std::string& target : {Source(), base::FrameFileName(Source(), 1)}) {
    EXPECT_EQ(Run({"--frames", "3", "--gif", target, Source()}), kExitFailed) << target;
    EXPECT_NE(err_.str().find("アニメーションファイルには別の名前を選んでください。"),
              std::string::npos)
        << err_.str();
    EXPECT_FALSE(fs::exists(base::FrameFileName(Source(), 0)));
  }
  EXPECT_EQ(FileBytes("cat.bmp"), before);
}

TEST_F(CliAnimationTest, ABadDelayRendersNothing) {
  EXPECT_EQ(Run({"--delay", "abc", "--gif", (pics_ / "a.gif").string(), Source()}), kExitUsage);
  EXPECT_FALSE(fs::exists(base::FrameFileName(Source(), 0)));
}

// --sticker writes the file and tells what it chose; --check-sticker then tells each rule with
// its verdict on standard output, after the files the same call wrote, or without a picture;
// 1 when a rule fails or the file cannot be read.
TEST_F(CliAnimationTest, StickerWrittenThenCheckedRuleByRule) {
  const std::string gif = (pics_ / "cat.gif").string();
  ASSERT_EQ(Run({"--frames", "3", "--sticker", "discord-emoji", gif, "--check-sticker",
                 "discord-emoji", gif, Source()}),
            kExitOk)
      << err_.str();
  EXPECT_NE(out_.str().find(gif + " を書き出しました。(discord-emoji: "), std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find(gif + ": discord-emoji (Discord 絵文字)\n  合格  形式: GIF（GIF）\n"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("  すべての条件を満たしています。\n"), std::string::npos);
  EXPECT_EQ(Run({"--check-sticker=line", gif}), kExitFailed);
  EXPECT_NE(out_.str().find("  不合格  形式: GIF（APNG）\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("  注意  透明な背景: なし（あり）\n"), std::string::npos);
  EXPECT_EQ(Run({"--check-sticker", "slack", (pics_ / "none.gif").string()}), kExitFailed);
  EXPECT_EQ(err_.str().find("kinetta-render: " + (pics_ / "none.gif").string()), 0u) << err_.str();
}

}  // namespace
}  // namespace kinetta::cli
