// kinetta-render end to end: settings from mivet.ini and options, frames beside the source,
// the GIF marker, a photo's orientation and colours, notes, seeds, and the exit status of every
// outcome, Ctrl-C and memory running out among them.
#include "cli/cli_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "animation_decoder.h"
#include "base/path_helpers.h"
#include "base/settings_file.h"
#include "cli/cli_fixture.h"
#include "cli/cli_options.h"
#include "image/bmp_file.h"
#include "image/frame_files.h"
#include "image/picture.h"
#include "image/picture_file.h"
#include "render/transparency.h"
#include "test_support.h"

namespace kinetta::cli {
namespace {

namespace fs = std::filesystem;

using CliRunTest = CliFixture;

TEST_F(CliRunTest, WritesTheFramesBesideTheSourceAndDeletesTheNextNumber) {
  std::ofstream(pics_ / "cat03.bmp") << "stale";
  EXPECT_EQ(Run({"--shape", "cylinder", "--frames", "3", Source()}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "cat00.bmp"));
  EXPECT_TRUE(fs::exists(pics_ / "cat02.bmp"));
  EXPECT_FALSE(fs::exists(pics_ / "cat03.bmp"));
  EXPECT_TRUE(fs::exists(trash_.Trashed("cat03.bmp")));  // where the user can get it back
  const base::Result<image::Picture> frame = image::LoadPicture((pics_ / "cat00.bmp").string());
  ASSERT_TRUE(frame.ok());
  // Default width mode 1: as wide as the source is high.
  EXPECT_EQ(frame.value().pixels.width(), 30);
  EXPECT_FALSE(fs::exists(app_ / "mivet.ini")) << "the command never writes mivet.ini";
}

// A picture with transparency is drawn over the background asked for: the plane's first frame
// at the picture's width is the picture laid over white.
TEST_F(CliRunTest, TransparentPicturesAreDrawnOverTheBackground) {
  for (const char* name :
       {"png-rgba.png", "webp-lossless.webp", "heic-alpha.heic", "bmp-32-alpha.bmp"}) {
    const fs::path source = pics_ / name;
    fs::copy_file(fs::path(KINETTA_TEST_DATA) / name, source);
    EXPECT_EQ(Run({"--shape", "plane", "--width-mode", "0", "--shade", "0", "--frames", "1",
                   "--background", "#FFFFFF", source.string()}),
              kExitOk)
        << err_.str();
    const base::Result<image::Picture> frame =
        image::LoadPicture(base::FrameFileName(source.string(), 0));
    const base::Result<image::Picture> picture = image::LoadPicture(source.string());
    ASSERT_TRUE(frame.ok() && picture.ok()) << name;
    EXPECT_TRUE(picture.value().hasAlpha) << name;
    EXPECT_TRUE(frame.value().pixels == image::FlattenOver(picture.value(), 0xFFFFFF)) << name;
  }
}

// With a clear background the frames keep the picture's transparency: PNG frames, by default or
// asked for, read back as the motion drew them (the water's, drawn from the bottom up, too);
// BMP frames asked for are laid over the colour.
TEST_F(CliRunTest, ClearBackgroundKeepsTransparencyInPngFrames) {
  const fs::path source = pics_ / "png-rgba.png";
  fs::copy_file(fs::path(KINETTA_TEST_DATA) / "png-rgba.png", source);
  const base::Result<image::Picture> picture = image::LoadPicture(source.string());
  ASSERT_TRUE(picture.ok());
  const struct {
    const char* shape;
    const char* format;
  } cases[] = {{"plane", "auto"}, {"water", "png"}, {"sphere", "bmp"}};
  for (const auto& c : cases) {
    ASSERT_EQ(Run({"--shape", c.shape, "--shade", "1", "--frames", "2", "--background", "#FF0000",
                   "--background", "transparent", "--frame-format", c.format, source.string()}),
              kExitOk)
        << err_.str();
    base::Settings s = ApplyOptions(
        {},
        ParseArguments({"--shape", c.shape, "--shade", "1", "--frames", "2", "--background",
                        "#FF0000", "--background", "transparent", "--frame-format", c.format, "x"})
            .options);
    const auto drawn = test::RenderAll(image::SurfaceFor(image::Picture(picture.value()), s), s);
    const image::FrameReader frames = image::FrameFileReader(source.string(), s);
    for (int k = 0; k < 2; ++k) {
      const base::Result<render::Surface> frame = frames(k);
      ASSERT_TRUE(frame.ok()) << c.shape << " " << k;
      render::Surface expected = drawn[static_cast<std::size_t>(k)];
      for (int y = 0; !base::PngFrames(s) && y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
          expected.PSet(x, y, render::Over(expected.Point(x, y), 0x0000FF));
        }
      }
      EXPECT_TRUE(frame.value() == expected) << c.shape << " " << k;
    }
  }
}

// Without a trash, a file after the last frame that is no frame stays, with a note.
TEST_F(CliRunTest, StaleFileThatIsNoFrameStaysWithANoteWhereThereIsNoTrash) {
  const test::TrashFolder noTrash(false);
  std::ofstream(pics_ / "cat02.bmp") << "a picture of its own";
  EXPECT_EQ(Run({"--frames", "2", Source()}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "cat02.bmp"));
  EXPECT_NE(err_.str().find("注意: cat02.bmp "), std::string::npos) << err_.str();
}

TEST_F(CliRunTest, OptionsNotGivenComeFromMivetIni) {
  base::SettingsFile ini;
  ini.settings.FrameCount = 2;
  ini.settings.WidthMode = 2;
  ini.settings.WidthValue = 17;
  ASSERT_TRUE(base::WriteSettingsFile(app_ / "mivet.ini", ini).ok());
  EXPECT_EQ(Run({"--shade", "0", Source()}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "cat01.bmp"));
  EXPECT_FALSE(fs::exists(pics_ / "cat02.bmp"));
  const base::Result<image::Picture> frame = image::LoadPicture((pics_ / "cat00.bmp").string());
  ASSERT_TRUE(frame.ok());
  EXPECT_EQ(frame.value().pixels.width(), 17);
}

TEST_F(CliRunTest, GifNeedsTheMarkerFile) {
  ASSERT_TRUE(fs::copy_file(fs::path(KINETTA_TEST_DATA) / "good.gif", pics_ / "anim.GIF"));
  const std::string gif = (pics_ / "anim.GIF").string();
  EXPECT_EQ(Run({gif}), kExitFailed);
  EXPECT_NE(err_.str().find("この画像形式には対応していません。"), std::string::npos);
  EXPECT_FALSE(fs::exists(pics_ / "anim00.bmp"));
  std::ofstream(app_ / "gifsw");
  EXPECT_EQ(Run({gif}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "anim00.bmp"));
}

TEST_F(CliRunTest, UnreadablePictureExitsOneWithTheMessage) {
  const std::string missing = (pics_ / "none.jpg").string();
  EXPECT_EQ(Run({missing}), kExitFailed);
  EXPECT_NE(err_.str().find(missing + "が開けません。"), std::string::npos) << err_.str();
}

// A FIFO source is refused at once instead of waiting for a writer.
TEST_F(CliRunTest, SourceThatIsNotARegularFileIsRefusedAtOnce) {
  const std::string fifo = (pics_ / "pic.jpg").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Run({fifo}), kExitFailed);
  EXPECT_EQ(err_.str(),
            "kinetta-render: " + fifo + "が開けません。\n（通常のファイルではありません）\n");
}

// A Latin-1 name (not UTF-8) is read and its frames are named from the same bytes.
TEST_F(CliRunTest, SourceNamedInAnyEncodingRendersBesideItself) {
  const fs::path source = pics_ / "caf\xE9.bmp";
  fs::copy_file(Source(), source);
  EXPECT_EQ(Run({"--frames", "1", source.native()}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "caf\xE9"
                                 "00.bmp"));
}

// A phone's photo, stored turned and in Adobe RGB: frame 00 of a plane at rest is the picture
// upright and in sRGB, as ImageMagick renders it.
TEST_F(CliRunTest, PhotoStandsUprightInSrgb) {
  const fs::path photo = pics_ / "phone.jpg";
  fs::copy_file(fs::path(KINETTA_TEST_DATA) / "jpeg-adobe-rgb.jpg", photo);
  EXPECT_EQ(Run({"--shape", "plane", "--width-mode", "0", "--shade", "0", "--frames", "1",
                 "--background", "#FFFFFF", photo.string()}),
            kExitOk)
      << err_.str();
  const base::Result<image::Picture> frame = image::LoadPicture((pics_ / "phone00.bmp").string());
  const base::Result<image::Picture> reference =
      image::LoadPicture(KINETTA_TEST_DATA "/jpeg-adobe-rgb-srgb.bmp");
  ASSERT_TRUE(frame.ok() && reference.ok());
  ASSERT_EQ(frame.value().pixels.width(), 48);
  ASSERT_EQ(frame.value().pixels.height(), 32);
  EXPECT_GT(test::Psnr({frame.value().pixels}, {reference.value().pixels}), 40.0);
}

TEST_F(CliRunTest, UnwritableFrameExitsOneNamingTheFile) {
  fs::create_directory(pics_ / "cat01.bmp");
  EXPECT_EQ(Run({"--frames", "3", Source()}), kExitFailed);
  EXPECT_NE(err_.str().find("cat01.bmp"), std::string::npos) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "cat00.bmp"));
}

TEST_F(CliRunTest, WarningsAreNotesAndTheRunGoesOn) {
  EXPECT_EQ(Run({"--frames", "41", "--width-mode", "2", "--width", "501", Source()}), kExitOk);
  EXPECT_NE(err_.str().find("こま数が多くて時間がかかります。"), std::string::npos);
  EXPECT_NE(err_.str().find("幅が大きくて時間がかかります。"), std::string::npos);
  EXPECT_TRUE(fs::exists(pics_ / "cat40.bmp"));
}

TEST_F(CliRunTest, SeedMakesTheDotsRepeatable) {
  const std::vector<std::string> args = {"--shape", "fadein", "--shade", "1", "--frames", "3"};
  auto run = [&](std::vector<std::string> extra) {
    std::vector<std::string> a = args;
    a.insert(a.end(), extra.begin(), extra.end());
    a.push_back(Source());
    EXPECT_EQ(Run(a), kExitOk) << err_.str();
    return FileBytes("cat01.bmp");
  };
  const std::string first = run({"--seed", "5"});
  EXPECT_EQ(run({"--seed", "5"}), first);
  EXPECT_NE(run({"--seed", "6"}), first);
  EXPECT_NE(run({}), run({})) << "without --seed the dots come from the clock";
}

TEST_F(CliRunTest, InterruptStopsTheRun) {
  control_.stop = true;  // as if Ctrl-C came before the first checkpoint
  control_.abort = true;
  EXPECT_EQ(Run({"--frames", "4", Source()}), kExitInterrupted);
  EXPECT_FALSE(fs::exists(pics_ / "cat00.bmp"));
  EXPECT_NE(err_.str().find("中断しました。"), std::string::npos);
}

// The exit status follows how the call ended: a mistake on the command line, an interruption,
// any other failure.
TEST(CliExitStatus, FollowsTheCause) {
  EXPECT_EQ(ExitStatusOf(base::Status::Ok()), kExitOk);
  const struct {
    base::Cause cause;
    int exit;
  } cases[] = {{base::Cause::BadArgument, kExitUsage},   {base::Cause::Aborted, kExitInterrupted},
               {base::Cause::NotFound, kExitFailed},     {base::Cause::NoSpace, kExitFailed},
               {base::Cause::WouldReplace, kExitFailed}, {base::Cause::BadSetting, kExitFailed},
               {base::Cause::OutOfMemory, kExitFailed}};
  for (const auto& c : cases) {
    EXPECT_EQ(ExitStatusOf(base::Status::Failed(c.cause, "")), c.exit);
  }
}

// What kinetta-render prints (standard output, then standard error) with `args`, run with LANG
// set to `lang` and no other language variable; and its exit status.
std::pair<std::string, int> RenderOutput(const char* lang, const std::vector<std::string>& args) {
  std::string command =
      std::string("env -u LC_ALL -u LC_MESSAGES -u LANGUAGE -u KINETTA_LANG LANG=") + lang + " " +
      KINETTA_RENDER_EXE;
  for (const std::string& a : args) command += " '" + a + "'";
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  std::string output;
  char buffer[4096];
  for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, n);
  }
  const int status = pipe != nullptr ? ::pclose(pipe) : -1;
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The program speaks English for an English locale, and for Japanese and C the Japanese of its
// catalogue, byte for byte as the call in process (where nothing is translated) says it.
TEST(KinettaRenderExecutable, SpeaksTheLanguageOfTheLocale) {
  const std::string sticker = std::string(KINETTA_TEST_DATA) + "/png-rgba.png";
  const struct {
    std::vector<std::string> args;
    int exit;
    const char* english;  ///< a line of it in English
  } calls[] = {
      {{"--bogus"},
       kExitUsage,
       "kinetta-render: unknown option '--bogus'\nTry 'kinetta-render --help' for more "
       "information.\n"},
      {{"--help"}, kExitOk, "Usage: kinetta-render [options] PICTURE...\n"},
      {{"--check-sticker", "slack", sticker}, kExitFailed, "\n  FAIL  Format: PNG (GIF)\n"},
  };
  for (const auto& call : calls) {
    const auto [english, englishExit] = RenderOutput("en_US.UTF-8", call.args);
    EXPECT_NE(english.find(call.english), std::string::npos) << english;
    EXPECT_EQ(englishExit, call.exit) << call.args[0];
    std::ostringstream out, err;
    render::RunControl control;
    EXPECT_EQ(RunCli(call.args, CliEnvironment{"", false, &control}, out, err), call.exit);
    for (const char* lang : {"ja_JP.UTF-8", "C"}) {
      EXPECT_EQ(RenderOutput(lang, call.args), std::make_pair(out.str() + err.str(), call.exit))
          << lang << " " << call.args[0];
    }
  }
}

// kinetta-render as a process of its own, its standard error going to `errFile`, its address
// space capped at `addressSpace` bytes unless that is 0.
pid_t StartRender(const std::vector<std::string>& args, const fs::path& errFile,
                  rlim_t addressSpace = 0) {
  std::vector<std::string> all{KINETTA_RENDER_EXE};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const char* errPath = errFile.c_str();
  const pid_t pid = ::fork();
  if (pid == 0) {  // only async-signal-safe calls until the program starts
    ::dup2(::open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
    const rlimit limit{addressSpace, addressSpace};
    if (addressSpace != 0) ::setrlimit(RLIMIT_AS, &limit);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// The exit status, or 128 + the signal that ended the process.
int ExitStatus(int waitStatus) {
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

int WaitForExit(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid ? ExitStatus(status) : -1;
}

// Ctrl-C stops even the cut-out, which never stops for the abort button, between two frames,
// and an interrupted run never ends as a success.
TEST_F(CliRunTest, CtrlCStopsTheCutoutAndExits130) {
  const pid_t pid =
      StartRender({"--shape", "cutout", "--frames", "32767", Source()}, pics_ / "err.txt");
  ASSERT_GT(pid, 0);
  // Once the first frame is on disk the program runs with its Ctrl-C handler in place.
  int status = 0;
  pid_t ended = 0;
  while (!fs::exists(pics_ / "cat00.bmp") && (ended = ::waitpid(pid, &status, WNOHANG)) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(ended, 0) << "ended before its first frame with " << ExitStatus(status) << ": "
                      << FileBytes("err.txt");
  ::kill(pid, SIGINT);
  EXPECT_EQ(WaitForExit(pid), kExitInterrupted);
  EXPECT_FALSE(fs::exists(pics_ / "cat32766.bmp")) << "the run went on to its last frame";
}

// Memory running out is a failure with its message, not an abort of the program: a 3000 x 3000
// picture loads within 256 MiB of address space, but the plane's work picture (three copies)
// and canvases do not fit beside it.
// Runs that cannot fit are refused before a frame is drawn, naming the frame size: a frame file
// past the BMP format's 4 GiB (a tall source with frames as wide as it is high), and a run past
// the memory the user allows with --max-memory.
TEST_F(CliRunTest, RunsTooLargeAreRefusedNamingTheFrameSize) {
  ASSERT_TRUE(image::WriteBmp24(test::SolidPicture(16, 40000, 0), pics_ / "tall.bmp").ok());
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> said;
  } cases[] = {
      {{"--width-mode", "1", (pics_ / "tall.bmp").string()},
       {"kinetta-render: こまの大きさ 40000 x 40000 ピクセルでは、こまの BMP ファイルが 4 GiB "
        "を超えて"}},
      {{"--max-memory", "1", "--width-mode", "0", "--frames", "3", (pics_ / "tall.bmp").string()},
       {"kinetta-render: こまの大きさ 16 x 40000 ピクセルでは約 ",
        " MiB のメモリが要ります（使えるのは約 1 MiB）。"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), kExitFailed);
    for (const std::string& said : c.said) {
      EXPECT_NE(err_.str().find(said), std::string::npos) << err_.str();
    }
    EXPECT_FALSE(fs::exists(pics_ / "tall00.bmp"));
  }
}

// Under an address-space limit too small for the run, the run is refused before it takes the
// memory, naming the frame size; no frame is written. The source is small, so that loading it
// fits whatever the libraries already hold; the sphere's per-pixel table for the frames asked
// for is what does not fit (the frames themselves are written a strip at a time).
TEST_F(CliRunTest, MemoryTooSmallForTheRunExitsOneWithTheMessage) {
#ifdef KINETTA_SANITIZE
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit leaves";
#endif
  QImage narrow(64, 8000, QImage::Format_RGB32);
  narrow.fill(Qt::gray);
  ASSERT_TRUE(narrow.save(QString::fromStdString((pics_ / "big.bmp").string())));
  const pid_t pid = StartRender({"--shape", "sphere", "--width-mode", "2", "--width", "30000",
                                 "--frames", "2", (pics_ / "big.bmp").string()},
                                pics_ / "err.txt", rlim_t{1024} << 20);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitForExit(pid), kExitFailed);
  EXPECT_NE(FileBytes("err.txt").find("kinetta-render: こまの大きさ 30000 x 8000 ピクセルでは約 "),
            std::string::npos)
      << FileBytes("err.txt");
  EXPECT_FALSE(std::filesystem::exists(pics_ / "big00.bmp"));
}

// The real executable on a JPEG with a bogus marker length: the message and its reason are all
// that reaches stderr, with no library warning before them.
TEST_F(CliRunTest, RefusedPictureSaysOnlyWhy) {
  const fs::path source = pics_ / "bad.jpg";
  fs::copy_file(fs::path(KINETTA_TEST_DATA) / "broken-jpeg-bad-marker.jpg", source);
  const pid_t pid = StartRender({source.string()}, pics_ / "err.txt");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitForExit(pid), kExitFailed);
  EXPECT_EQ(FileBytes("err.txt"), "kinetta-render: " + source.string() +
                                      "が開けません。\n（JPEG データが壊れています）\n");
}

}  // namespace
}  // namespace kinetta::cli
