// kinetta-render --html: the option's value, and the page with the viewer files written after
// a run that produced every frame, at the frames' size.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/messages.h"
#include "base/settings_file.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "export/html_page.h"
#include "test_support.h"

namespace kinetta::cli {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CliHtmlOption, ReadsSecondsAsMilliseconds) {
  const ParsedArguments o = ParseArguments({"--html", "0.2", "a.bmp"});
  ASSERT_EQ(o.outcome, ParseOutcome::Run) << o.status.message();
  EXPECT_EQ(o.options.htmlMs, 200);
  const ParsedArguments eq = ParseArguments({"--html=0.0016", "a.bmp"});
  ASSERT_EQ(eq.outcome, ParseOutcome::Run) << eq.status.message();
  EXPECT_EQ(eq.options.htmlMs, 2);
  const ParsedArguments none = ParseArguments({"a.bmp"});
  ASSERT_EQ(none.outcome, ParseOutcome::Run);
  EXPECT_FALSE(none.options.htmlMs);
}

TEST(CliHtmlOption, RefusesWhatTheDialogRefuses) {
  for (const char* bad : {"abc", "-1", "33", ""}) {
    const ParsedArguments o = ParseArguments({"--html", bad, "a.bmp"});
    EXPECT_EQ(o.outcome, ParseOutcome::Error) << bad;
    EXPECT_NE(o.status.message().find("--html"), std::string::npos) << o.status.message();
  }
}

// A program folder with the viewer files and an 8 x 6 source picture in its own folder.
class CliHtmlRun : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_ / "app" / "sample");
    fs::create_directories(temp_ / "pics");
    std::ofstream(temp_ / "app" / "sample" / "vorrel.class") << "applet";
    std::ofstream(temp_ / "app" / "sample" / "vorrel.js") << "script";
    fs::copy_file(fs::path(KINETTA_TEST_DATA) / "good.bmp", source_);
  }
  int Run(std::vector<std::string> args) {
    args.push_back(source_.string());
    const CliEnvironment env{(temp_ / "app").string(), false, &control_};
    return RunCli(args, env, out_, err_);
  }
  fs::path Pics(const std::string& name) const { return temp_ / "pics" / name; }

  test::TempFolder temp_;
  fs::path source_ = temp_ / "pics" / "cat.bmp";
  render::RunControl control_;
  std::ostringstream out_, err_;
};

TEST_F(CliHtmlRun, WritesThePageAtTheFrameSizeAndCopiesTheViewer) {
  // The plane at width mode 2, 5 pixels: frames 5 wide and as high as the source, 6.
  ASSERT_EQ(Run({"--shape", "plane", "--width-mode", "2", "--width", "5", "--frames", "3", "--html",
                 "0.25"}),
            kExitOk)
      << err_.str();
  EXPECT_TRUE(fs::exists(Pics("cat02.bmp")));
  EXPECT_EQ(ReadAll(Pics("animate.htm")), exporter::PageText({5, 6, 3, "cat", 250}));
  EXPECT_EQ(ReadAll(Pics("vorrel.class")), "applet");
  EXPECT_EQ(ReadAll(Pics("vorrel.js")), "script");
  EXPECT_NE(out_.str().find(Pics("animate.htm").string()), std::string::npos) << out_.str();
}

TEST_F(CliHtmlRun, RunOfNoFramesStillHasTheFrameSize) {
  // Width mode 0: the source width 8; Count '-1'. No frames come only from mivet.ini: the
  // option itself takes 1 and more.
  base::SettingsFile ini;
  ini.settings.FrameCount = 0;
  ASSERT_TRUE(base::WriteSettingsFile(temp_ / "app" / "mivet.ini", ini).ok());
  ASSERT_EQ(Run({"--shape", "0", "--width-mode", "0", "--html", "1.5"}), kExitOk) << err_.str();
  EXPECT_EQ(ReadAll(Pics("animate.htm")), exporter::PageText({8, 6, 0, "cat", 1500}));
}

TEST_F(CliHtmlRun, BadSecondsAreAUsageErrorBeforeAnyFrame) {
  EXPECT_EQ(Run({"--frames", "2", "--html", "abc"}), kExitUsage);
  EXPECT_FALSE(fs::exists(Pics("cat00.bmp")));
  EXPECT_FALSE(fs::exists(Pics("animate.htm")));
  EXPECT_NE(err_.str().find("abc"), std::string::npos) << err_.str();
}

TEST_F(CliHtmlRun, NoPageWithoutTheOptionOrAfterAFailedRun) {
  ASSERT_EQ(Run({"--shape", "plane", "--frames", "2"}), kExitOk) << err_.str();
  EXPECT_FALSE(fs::exists(Pics("animate.htm")));

  // A picture that cannot be read: no frames, so no page and no viewer files.
  std::ofstream(source_, std::ios::trunc) << "not a picture";
  EXPECT_EQ(Run({"--frames", "2", "--html", "0.2"}), kExitFailed);
  EXPECT_FALSE(fs::exists(Pics("animate.htm")));
  EXPECT_FALSE(fs::exists(Pics("vorrel.js")));
}

// Without the viewer files the page is written but cannot show the frames: a failure that says so.
TEST_F(CliHtmlRun, ViewerFilesThatCannotBeCopiedFailTheRun) {
  fs::remove(temp_ / "app" / "sample" / "vorrel.js");
  EXPECT_EQ(Run({"--shape", "plane", "--frames", "2", "--html", "0.2"}), kExitFailed);
  EXPECT_TRUE(fs::exists(Pics("animate.htm")));
  EXPECT_EQ(ReadAll(Pics("vorrel.class")), "applet");
  EXPECT_NE(
      err_.str().find(" は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: "
                      "vorrel.js ("),
      std::string::npos)
      << err_.str();
  EXPECT_EQ(out_.str().find("animate.htm を書き出しました"), std::string::npos) << out_.str();
}

TEST_F(CliHtmlRun, PageThatCannotBeWrittenFailsTheRun) {
  fs::create_directories(Pics("animate.htm"));
  EXPECT_EQ(Run({"--shape", "plane", "--frames", "2", "--html", "0.2"}), kExitFailed);
  EXPECT_TRUE(fs::exists(Pics("cat01.bmp")));
  EXPECT_NE(err_.str().find(base::kPageFailedMessage), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find(Pics("animate.htm").string()), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace kinetta::cli
