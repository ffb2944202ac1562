// Animation files written from frames in memory and read back with giflib and libwebp's
// demuxer: frame count, delays, looping, canvas, pixels, the transparent still areas, and the
// refusals, abort and failures that must leave no file behind.
#include "export/animation_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "animation_decoder.h"
#include "animation_test_frames.h"
#include "base/messages.h"
#include "export/export_messages.h"
#include "export/html_page.h"
#include "render/geometry.h"
#include "render/transparency.h"
#include "test_support.h"

namespace kinetta::exporter {
namespace {

namespace fs = std::filesystem;
using render::Surface;

// `colours` dark colours a step or two apart, in 2 x 2 blocks: the most a palette could blur.
Surface DarkPicture(int w, int h, int colours = 200) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int i = (x / 2 + 13 * (y / 2)) % colours;
      s.PSet(x, y, render::Compose(i % 8, (i / 8) % 8, i / 64));
    }
  }
  return s;
}

TEST(AnimationTime, DelaysInEachFormatsUnitRoundHalvesToEvenWithAFloor) {
  struct Case {
    const char* text;
    int centiseconds;
    int milliseconds;
  };
  for (const Case& c : {
           Case{"0.2", 20, 200},
           Case{" 1.5 ", 150, 1500},
           Case{"0.125", 12, 125},  // 12.5 hundredths: to even
           Case{"0.375", 38, 375},  // 37.5 hundredths: to even
           Case{"0.01", 2, 20},     // browsers would show 1 hundredth as 10
           Case{"0", 2, 20},
           Case{"32.767", 3277, 32767},
       }) {
    const base::Result<AnimationDelay> t = ReadAnimationTime(c.text);
    ASSERT_TRUE(t.ok()) << c.text;
    EXPECT_EQ(t.value().gifCentiseconds, c.centiseconds) << c.text;
    EXPECT_EQ(t.value().webpMilliseconds, c.milliseconds) << c.text;
  }
  for (const char* bad : {"abc", "", "-1", "33", "0.2s"}) {
    const base::Result<AnimationDelay> t = ReadAnimationTime(bad);
    EXPECT_FALSE(t.ok()) << bad;
    EXPECT_EQ(t.message(), ReadFrameTime(bad).message()) << bad;
  }
}

// The file's size: the longer side within the choice (never enlarged, each side at least 1), and
// an MP4 also within H.264 level 5.1: the largest even size whose whole macroblocks fit, per
// frame and, at a fast rate, per second.
TEST(AnimationSize, LongerSideChosenAndMp4WithinLevel51) {
  struct Case {
    AnimationFormat format;
    int width, height, maxSide, delayMs;
    AnimationSize want;
  };
  const AnimationFormat gif = AnimationFormat::Gif, mp4 = AnimationFormat::Mp4;
  const Case cases[] = {
      {gif, 6000, 4000, 1920, 200, {1920, 1280, false}},
      {gif, 4000, 6000, 1280, 200, {853, 1280, false}},
      {AnimationFormat::WebP, 5000, 3, 480, 200, {480, 1, false}},
      {gif, 300, 200, 1920, 200, {300, 200, false}},
      {gif, 6000, 4000, 0, 200, {6000, 4000, false}},
      {mp4, 6000, 4000, 0, 200, {3744, 2496, true}},
      {mp4, 4000, 6000, 3840, 200, {2496, 3744, true}},
      {mp4, 6300, 4400, 0, 200, {3666, 2560, true}},
      {mp4, 6000, 4000, 1920, 200, {1920, 1280, false}},
      {mp4, 4096, 2304, 0, 200, {4096, 2304, false}},  // 36864 macroblocks exactly
      {mp4, 4095, 2303, 0, 200, {4095, 2303, false}},  // padded to the same
      {mp4, 4098, 2304, 0, 200, {4096, 2302, true}},
      {mp4, 9000, 500, 0, 200, {8688, 482, true}},  // 543 macroblocks across at most
      {mp4, 1920, 1080, 0, 20, {1920, 1080, false}},
      {mp4, 3840, 2160, 0, 20, {2988, 1680, true}},  // 50 frames a second
  };
  for (const Case& c : cases) {
    const AnimationSize got = PlanAnimationSize(c.format, c.width, c.height, c.maxSide, c.delayMs);
    EXPECT_EQ(std::tuple(got.width, got.height, got.withinLevel),
              std::tuple(c.want.width, c.want.height, c.want.withinLevel))
        << c.width << " x " << c.height << " at " << c.maxSide << ", " << c.delayMs << " ms";
  }
}

TEST(AnimationPath, TheFramesBaseNameWithTheFormatsExtension) {
  EXPECT_EQ(DefaultAnimationPath("/my.pics/cat.small.jpg", AnimationFormat::Gif),
            fs::path("/my.pics/cat.gif"));
  EXPECT_EQ(DefaultAnimationPath("/pics/cat.jpg", AnimationFormat::WebP),
            fs::path("/pics/cat.webp"));
  EXPECT_EQ(DefaultAnimationPath("/pics/noext", AnimationFormat::Gif), fs::path("/pics/noext.gif"));
  EXPECT_EQ(DefaultAnimationPath("/pics/cat.jpg", AnimationFormat::Mp4), fs::path("/pics/cat.mp4"));
  // Never the source picture itself.
  EXPECT_EQ(DefaultAnimationPath("/pics/cat.png", AnimationFormat::Apng),
            fs::path("/pics/cat_anim.png"));
  EXPECT_EQ(DefaultAnimationPath("/pics/cat.x.png", AnimationFormat::Apng),
            fs::path("/pics/cat.png"));
}

TEST(AnimationFile, WebpKeepsEveryPixelOfEveryFrame) {
  test::TempFolder folder;
  const std::vector<Surface> frames = Frames(test::CoordinatePicture(48, 32), 2, 5);  // sphere
  const AnimationResult r = Write(frames, AnimationFormat::WebP, folder / "a.webp", "0.35");
  ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
  EXPECT_EQ(r.frames, 5);
  EXPECT_EQ(Bytes(folder / "a.webp").substr(0, 4), "RIFF");

  const test::DecodedAnimation d = test::DecodeWebp(folder / "a.webp");
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.width, frames[0].width());
  EXPECT_EQ(d.height, frames[0].height());
  EXPECT_EQ(d.loopCount, 0);
  EXPECT_EQ(d.delays, std::vector<int>(5, 350));
  ASSERT_EQ(d.frames.size(), frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_TRUE(d.frames[k] == frames[k]) << "frame " << k;
  }
}

TEST(AnimationFile, GifOfFewColoursIsExactAndLoops) {
  test::TempFolder folder;
  const std::vector<Surface> frames = Frames(BlockPicture(40, 24), 0, 6);  // plane
  const AnimationResult r = Write(frames, AnimationFormat::Gif, folder / "a.gif", "0.125");
  ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
  EXPECT_EQ(Bytes(folder / "a.gif").substr(0, 6), "GIF89a");

  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.width, frames[0].width());
  EXPECT_EQ(d.height, frames[0].height());
  EXPECT_EQ(d.loopCount, 0);
  EXPECT_EQ(d.delays, std::vector<int>(6, 12));
  ASSERT_EQ(d.frames.size(), frames.size());
  // 12 colours and the background: the palette holds them all, so nothing is dithered.
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_TRUE(d.frames[k] == frames[k]) << "frame " << k;
  }
}

TEST(AnimationFile, UpTo256ColoursGiveGifAndWebpFramesExactly) {
  // A plane of 40 frames: 199 colours of the picture and the background's, and 256 colours (no
  // index left for the GIF's transparent one) sliding a column a frame, wrapping round.
  const Surface wide = DarkPicture(64, 64, 256);
  std::vector<Surface> slid;
  for (int k = 0; k < 40; ++k) {
    Surface frame(64, 64);
    frame.CopyFrom(wide, 0, 0, 64 - k, 64, k, 0);
    frame.CopyFrom(wide, 64 - k, 0, k, 64, 0, 0);
    slid.push_back(frame);
  }
  for (const AnimationFormat format : {AnimationFormat::Gif, AnimationFormat::WebP}) {
    for (const std::vector<Surface>& frames : {Frames(DarkPicture(40, 40, 199), 0, 40), slid}) {
      test::TempFolder folder;
      const fs::path file = folder / "a";
      ASSERT_EQ(Write(frames, format, file).outcome, AnimationStatus::Written);
      const test::DecodedAnimation d =
          format == AnimationFormat::Gif ? test::DecodeGif(file) : test::DecodeWebp(file);
      ASSERT_TRUE(d.ok) << d.error;
      ASSERT_EQ(d.frames.size(), frames.size());
      for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_TRUE(d.frames[k] == frames[k]) << AnimationExtension(format) << " frame " << k;
      }
    }
  }
}

TEST(AnimationFile, GifOfManyColoursStaysCloseToTheFrames) {
  test::TempFolder folder;
  const std::vector<Surface> frames = Frames(test::CoordinatePicture(64, 48), 2, 6);  // sphere
  ASSERT_EQ(Write(frames, AnimationFormat::Gif, folder / "a.gif").outcome,
            AnimationStatus::Written);
  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_EQ(d.frames.size(), frames.size());
  // Thousands of colours in 255 entries, dithered: close on average, and no pixel far off.
  EXPECT_GT(test::Psnr(d.frames, frames), 30.0);
  for (std::size_t k = 0; k < frames.size(); ++k) {
    for (int y = 0; y < frames[k].height(); ++y) {
      for (int x = 0; x < frames[k].width(); ++x) {
        const std::uint32_t a = frames[k].Row(y)[x], b = d.frames[k].Row(y)[x];
        for (int shift = 0; shift < 24; shift += 8) {
          const int diff =
              static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
          ASSERT_LE(std::abs(diff), 48) << "frame " << k << " (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(AnimationFile, GifOfFramesLargerThanTheQuantizersRowTakesItsSampleInRows) {
  // 4100 x 2100: the first frame's palette is learnt from 8.6 million pixels, more than
  // libimagequant takes in one row.
  test::TempFolder folder;
  const Surface big = test::CoordinatePicture(4100, 2100);
  Surface shifted(4100, 2100);
  shifted.CopyFrom(big, 1, 0, 4099, 2100, 0, 0);
  const AnimationResult r = Write({big, shifted}, AnimationFormat::Gif, folder / "a.gif");
  ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_EQ(d.frames.size(), 2u);
  // Every row of the sample counts: learnt from the first alone, the palette misses the lower
  // half's colours (23 dB against 28 dB).
  EXPECT_GT(test::Psnr(d.frames, {big, shifted}), 26.0);
}

TEST(AnimationFile, GifFramesOfDifferentColoursEachKeepTheirOwn) {
  // Four frames of 250 colours each in 2 x 2 blocks, no colour in two frames: a thousand
  // colours, four times what one palette holds, while each frame's own fit in its palette.
  std::vector<Surface> frames;
  for (int k = 0; k < 4; ++k) {
    Surface frame(50, 50);
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 50; ++x) {
        const int i = (x / 2 * 7 + y / 2 * 13) % 250;
        frame.PSet(
            x, y,
            render::Compose((i * 37 + k * 61) % 256, (i * 11 + k * 7) % 256, k * 64 + i % 64));
      }
    }
    frames.push_back(frame);
  }
  test::TempFolder folder;
  ASSERT_EQ(Write(frames, AnimationFormat::Gif, folder / "a.gif").outcome,
            AnimationStatus::Written);
  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_EQ(d.frames.size(), frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_TRUE(d.frames[k] == frames[k]) << "frame " << k;
  }
}

TEST(AnimationFile, ClearAreasStayClearAndPixelsThatTurnClearAreCleared) {
  // A figure with soft edges on nothing moving right (its left pixels turn clear), gone (all
  // of them), back further left, and round again to the start (its right pixels turn clear).
  const render::Colour kFigure = render::Compose(200, 40, 90);
  const render::Colour kMatte = render::Compose(255, 255, 255);
  std::vector<Surface> frames;
  for (const int left : {2, 6, -100, 4}) {
    Surface frame(24, 12);
    for (int y = 0; y < 12; ++y) std::fill_n(frame.Row(y), 24, std::uint32_t{0xFF000000u});
    for (int y = 2; y < 10; ++y) {
      for (int x = left; x < left + 8; ++x) {
        const int opacity = x == left ? 100 : x == left + 7 ? 200 : 255;  // half-opaque edges
        if (x >= 0)
          frame.Row(y)[x] = static_cast<std::uint32_t>(render::WithOpacity(kFigure, opacity));
      }
    }
    frames.push_back(frame);
  }
  struct Case {
    AnimationFormat format;
    std::optional<render::Colour> matte;
    std::optional<int> quality;
  };
  for (const Case& c : {Case{AnimationFormat::Gif, {}, {}}, Case{AnimationFormat::Gif, kMatte, {}},
                        Case{AnimationFormat::WebP, {}, {}}, Case{AnimationFormat::WebP, {}, 80}}) {
    SCOPED_TRACE(std::string(AnimationExtension(c.format)) + (c.matte ? " matte" : "") +
                 (c.quality ? " lossy" : ""));
    test::TempFolder folder;
    AnimationRequest request;
    request.format = c.format;
    request.target = folder / "a";
    request.matte = c.matte;
    request.webpQuality = c.quality;
    ASSERT_EQ(WriteAnimation(ReaderOf(frames), request).outcome, AnimationStatus::Written);
    const test::DecodedAnimation d = c.format == AnimationFormat::Gif
                                         ? test::DecodeGif(request.target)
                                         : test::DecodeWebp(request.target);
    ASSERT_TRUE(d.ok) << d.error;
    ASSERT_EQ(d.frames.size(), frames.size());
    if (c.format == AnimationFormat::Gif) {
      EXPECT_TRUE(d.looped == d.frames[0]);
    }
    for (std::size_t k = 0; k < frames.size(); ++k) {
      for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 24; ++x) {
          const render::Colour in = frames[k].Point(x, y), out = d.frames[k].Point(x, y);
          if (c.format == AnimationFormat::Gif) {
            // A GIF pixel is opaque or clear: over the matte, or in its own colour.
            render::Colour want = render::kClear;
            if (render::OpacityOf(in) >= 128) want = c.matte ? render::Over(in, *c.matte) : kFigure;
            ASSERT_EQ(out, want) << "frame " << k << " (" << x << ", " << y << ")";
          } else if (!c.quality) {
            ASSERT_EQ(out, in) << "frame " << k << " (" << x << ", " << y << ")";
          } else {
            ASSERT_EQ(render::OpacityOf(out), render::OpacityOf(in))
                << "frame " << k << " (" << x << ", " << y << ")";
          }
        }
      }
    }
  }
}

TEST(AnimationFile, GifLeavesStillAreasTransparentAndStoresOnlyTheChange) {
  test::TempFolder folder;
  // The sliding band on a picture narrower than the frame: the background stays still.
  base::Settings s;
  s.ShapeIndex = 0;
  s.WidthMode = 2;
  s.WidthValue = 60;
  s.FrameCount = 5;
  const std::vector<Surface> frames = test::RenderAll(BlockPicture(32, 24), s);
  ASSERT_EQ(Write(frames, AnimationFormat::Gif, folder / "a.gif").outcome,
            AnimationStatus::Written);
  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_EQ(d.stored.size(), frames.size());
  int still = 0;
  for (std::size_t k = 1; k < frames.size(); ++k) {
    for (int y = 0; y < frames[k].height(); ++y) {
      for (int x = 0; x < frames[k].width(); ++x) {
        if (frames[k].Point(x, y) != frames[k - 1].Point(x, y)) continue;
        ++still;
        ASSERT_EQ(d.stored[k][static_cast<std::size_t>(y) * d.width + x], 0)
            << "frame " << k << " stores the unchanged pixel (" << x << ", " << y << ")";
      }
    }
    EXPECT_TRUE(d.frames[k] == frames[k]) << "frame " << k;
  }
  EXPECT_GT(still, 0) << "the motion should leave some pixels still";
}

TEST(AnimationFile, RepeatedFramesKeepTheirPlaceAndDelay) {
  test::TempFolder folder;
  const Surface picture = BlockPicture(16, 16);
  const std::vector<Surface> frames{picture, picture, picture};
  ASSERT_EQ(Write(frames, AnimationFormat::Gif, folder / "a.gif").outcome,
            AnimationStatus::Written);
  const test::DecodedAnimation d = test::DecodeGif(folder / "a.gif");
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_EQ(d.frames.size(), 3u);
  EXPECT_EQ(d.delays, std::vector<int>(3, 20));
  for (int k = 1; k < 3; ++k) {
    EXPECT_TRUE(d.frames[k] == picture);
    EXPECT_EQ(std::count(d.stored[k].begin(), d.stored[k].end(), 1), 0);
  }
}

TEST(AnimationFile, TheFramesEndAtTheFirstThatCannotBeRead) {
  test::TempFolder folder;
  std::vector<Surface> frames = Frames(BlockPicture(24, 16), 1, 4);
  for (AnimationFormat format : {AnimationFormat::Gif, AnimationFormat::WebP}) {
    const fs::path file = folder / (std::string("a") + std::string(AnimationExtension(format)));
    const AnimationResult r = Write(frames, format, file);
    ASSERT_EQ(r.outcome, AnimationStatus::Written) << r.status.message();
    EXPECT_EQ(r.frames, 4);
    const test::DecodedAnimation d =
        format == AnimationFormat::Gif ? test::DecodeGif(file) : test::DecodeWebp(file);
    EXPECT_EQ(d.frames.size(), 4u);
  }
}

// The source picture and its frame files, by whatever path, are refused as animation files;
// names that only look alike are not.
TEST(AnimationTarget, SourceAndFramesAreRefusedByAnyPath) {
  test::TempFolder folder;
  const fs::path source = folder / "cat.small.gif";
  std::ofstream(source) << "picture";
  fs::create_directories(folder / "sub");
  fs::create_symlink(source, folder / "sub" / "link.gif");
  fs::create_hard_link(source, folder / "hard.gif");
  fs::create_directory_symlink(folder.path(), folder / "alias");
  const struct {
    fs::path target;
    bool refused;
  } cases[] = {
      {source, true},
      {folder / "sub" / ".." / "cat.small.gif", true},
      {folder / "sub" / "link.gif", true},
      {folder / "hard.gif", true},
      {folder / "cat01.bmp", true},  // frames need not exist yet
      {folder / "cat100.bmp", true},
      {folder / "alias" / "cat07.bmp", true},
      {folder / "cat1.bmp", false},
      {folder / "cat001.bmp", false},
      {folder / "cat01.gif", false},
      {folder / "dog01.bmp", false},
      {folder / "sub" / "cat01.bmp", false},
      {folder / "cat.gif", false},
  };
  for (const auto& c : cases) {
    const base::Status checked = CheckAnimationTarget(c.target, source.string());
    EXPECT_EQ(!checked.ok(), c.refused) << c.target;
    if (c.refused) {
      EXPECT_NE(checked.message().find(c.target.string()), std::string::npos);
    }
  }
}

TEST(AnimationFile, NoFramesWritesNothing) {
  test::TempFolder folder;
  for (AnimationFormat format : kAllFormats) {
    const AnimationResult r = Write({}, format, folder / "a.out");
    EXPECT_EQ(r.outcome, AnimationStatus::NoFrames);
    EXPECT_EQ(r.status.message(), base::kNoFramesMessage);
  }
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(AnimationFile, RefusalsAndFailuresLeaveTheTargetAsItWas) {
  test::TempFolder folder;
  const fs::path target = folder / "keep.gif";
  std::ofstream(target) << "older file";

  // A frame of another size (left from an earlier run): no mixed animation.
  std::vector<Surface> frames = Frames(BlockPicture(24, 16), 1, 3);
  frames.push_back(Surface(10, 10, 0));
  AnimationResult r = Write(frames, AnimationFormat::Gif, target);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);
  EXPECT_NE(r.status.message().find("03"), std::string::npos) << r.status.message();

  // Wider than the format holds.
  r = Write({Surface(16384, 1, 0)}, AnimationFormat::WebP, target);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);
  EXPECT_NE(r.status.message().find("16383"), std::string::npos) << r.status.message();
  r = Write({Surface(65536, 1, 0)}, AnimationFormat::Gif, target);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);

  // A frame file that changed between the reading and the encoding: the indexed APNG has no
  // index for its new colour and fails rather than guess one.
  int firstReads = 0;
  const FrameReader changing = [&firstReads](int k) -> base::Result<Surface> {
    if (k > 0) return base::Result<Surface>::Failed(base::Cause::NotFound, "no frame");
    return ++firstReads == 1 ? BlockPicture(24, 16)
                             : test::SolidPicture(24, 16, render::Compose(1, 2, 3));
  };
  AnimationRequest request;
  request.format = AnimationFormat::Apng;
  request.target = target;
  r = WriteAnimation(changing, request);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);
  EXPECT_NE(r.status.message().find(kFrameChangedText), std::string::npos) << r.status.message();

  // More memory than the file may take, in either format: the frame size and the need named.
  for (const AnimationFormat format : {AnimationFormat::Gif, AnimationFormat::WebP}) {
    r = Write({Surface(1000, 1000, 0), Surface(1000, 1000, 0)}, format, target, "0.2", 1 << 20);
    EXPECT_EQ(r.outcome, AnimationStatus::Failed);
    EXPECT_NE(r.status.message().find("こまの大きさ 1000 x 1000 ピクセルでは約 "),
              std::string::npos)
        << r.status.message();
  }

  EXPECT_EQ(Bytes(target), "older file");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

  // A folder that does not exist: reported with the path.
  const fs::path nowhere = folder / "missing" / "a.gif";
  r = Write(Frames(BlockPicture(24, 16), 1, 2), AnimationFormat::Gif, nowhere);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);
  EXPECT_NE(r.status.message().find(nowhere.string()), std::string::npos) << r.status.message();
  EXPECT_NE(r.status.message().find(base::kAnimationFailedMessage), std::string::npos);

  // The disk takes no more part of the way (a file-size limit stands in for a full disk): the
  // file's own reason, in Japanese, rather than the GIF library's words.
  frames = Frames(BlockPicture(64, 64), 1, 4);
  rlimit whole{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &whole), 0);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = whole;
  small.rlim_cur = 300;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  r = Write(frames, AnimationFormat::Gif, folder / "full.gif");
  ::setrlimit(RLIMIT_FSIZE, &whole);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(r.outcome, AnimationStatus::Failed);
  EXPECT_NE(r.status.message().find("\nファイルが大きすぎます"), std::string::npos)
      << r.status.message();
  EXPECT_FALSE(fs::exists(folder / "full.gif"));
}

TEST(AnimationFile, ProgressCountsTheReadingThenTheEncoding) {
  test::TempFolder folder;
  const std::vector<Surface> frames = Frames(BlockPicture(24, 16), 1, 3);
  std::vector<std::pair<int, int>> seen;
  AnimationRequest request;
  request.target = folder / "a.gif";
  request.progress = [&](int done, int total) { seen.emplace_back(done, total); };
  ASSERT_EQ(WriteAnimation(ReaderOf(frames), request).outcome, AnimationStatus::Written);
  const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {2, 0}, {3, 0},
                                                  {1, 3}, {2, 3}, {3, 3}};
  EXPECT_EQ(seen, expected);
}

TEST(AnimationFile, AbortWhileEncodingLeavesNoFileAndTheOldOneUnchanged) {
  test::TempFolder folder;
  const std::vector<Surface> frames = Frames(BlockPicture(24, 16), 1, 4);
  for (AnimationFormat format : kAllFormats) {
    const fs::path target = folder / "keep.anim";
    std::ofstream(target) << "older file";
    std::atomic<bool> abort{false};
    AnimationRequest request;
    request.format = format;
    request.target = target;
    request.abort = &abort;
    // The abort button pressed once two frames are encoded.
    request.progress = [&](int done, int total) {
      if (total > 0 && done == 2) abort = true;
    };
    const AnimationResult r = WriteAnimation(ReaderOf(frames), request);
    EXPECT_EQ(r.outcome, AnimationStatus::Aborted);
    EXPECT_EQ(Bytes(target), "older file");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
}

}  // namespace
}  // namespace kinetta::exporter
