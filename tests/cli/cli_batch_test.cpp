// kinetta-render over several pictures: mistakes told in two lines before anything is written,
// the output folder, a picture failing among others, and pictures whose files would meet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/version.h"
#include "cli/cli_fixture.h"

namespace kinetta::cli {
namespace {

namespace fs = std::filesystem;

const std::string kTryHelp = "使い方は 'kinetta-render --help' で見られます。\n";

class CliBatchTest : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    fs::copy_file(Source(), pics_ / "dog.bmp");
  }
  std::string Pic(const std::string& name) const { return (pics_ / name).string(); }
};

TEST_F(CliBatchTest, MistakesAreTwoLinesAndNothingIsWritten) {
  const std::string cat = Source(), dog = Pic("dog.bmp");
  const std::string out = Pic("out");
  const struct {
    std::vector<std::string> args;
    int exit;
    std::string out, err;
  } cases[] = {
      {{"--version"},
       kExitOk,
       std::string("kinetta-render (Kinetta) ") + KINETTA_VERSION + "\n",
       ""},
      {{"--frmaes", "8", cat},
       kExitUsage,
       "",
       "kinetta-render: オプション '--frmaes' はありません。\n" + kTryHelp},
      {{"--frames", "many", cat},
       kExitUsage,
       "",
       "kinetta-render: オプション --frames の値 'many' は使えません。\n" + kTryHelp},
      // One animation file or page for several pictures.
      {{"--gif", Pic("a.gif"), cat, dog},
       kExitUsage,
       "",
       "kinetta-render: " + cat + " と " + dog + " はどちらも " + Pic("a.gif") +
           " を書き出します。画像ごとの名前にするには %s を入れてください (--gif '%s.gif')。\n" +
           kTryHelp},
      {{"-o", out, "--apng", "a.png", cat, dog},
       kExitUsage,
       "",
       "kinetta-render: " + cat + " と " + dog + " はどちらも " + out + "/a.png" +
           " を書き出します。画像ごとの名前にするには %s を入れてください (--apng '%s.png')。\n" +
           kTryHelp},
      {{"--sticker", "slack", Pic("s.gif"), cat, dog},
       kExitUsage,
       "",
       "kinetta-render: " + cat + " と " + dog + " はどちらも " + Pic("s.gif") +
           " を書き出します。画像ごとの名前にするには %s を入れてください (--sticker slack "
           "'%s.gif')。\n" +
           kTryHelp},
      {{"--html", "0.2", cat, dog},
       kExitUsage,
       "",
       "kinetta-render: " + cat + " と " + dog + " はどちらも " + Pic("animate.htm") +
           " を書き出します。画像ごとにフォルダを分けてください (-o 'DIR/%s')。\n" + kTryHelp},
      // An output folder that cannot be made.
      {{"-o", cat + "/x", cat},
       kExitFailed,
       "",
       "kinetta-render: " + cat + " に書き込めません。(フォルダではありません)\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.exit) << c.args[0];
    EXPECT_EQ(out_.str(), c.out);
    EXPECT_EQ(err_.str(), c.err);
  }
  EXPECT_FALSE(fs::exists(pics_ / "cat00.bmp"));
  EXPECT_FALSE(fs::exists(pics_ / "dog00.bmp"));
  EXPECT_FALSE(fs::exists(out));
}

// The frames and the animation files named without a folder go to the output folder (made when
// missing), where the file after the last frame is put away; a picture that cannot be read fails
// alone and is named in the summary.
TEST_F(CliBatchTest, OutputFolderTakesEveryPicturesFilesAndAFailureIsSummed) {
  const fs::path out = pics_ / "out" / "deep";
  fs::create_directories(out);
  std::ofstream(out / "cat03.bmp") << "stale";
  const std::string broken = Pic("broken.jpg");
  fs::copy_file(fs::path(KINETTA_TEST_DATA) / "broken-jpeg-bad-marker.jpg", broken);
  EXPECT_EQ(Run({"-o", out.string(), "--frames", "3", "--gif", "%s.gif", Source(), broken,
                 Pic("dog.bmp")}),
            kExitFailed);
  for (const std::string stem : {"cat", "dog"}) {
    for (const char* k : {"00", "01", "02"}) {
      EXPECT_TRUE(fs::exists(out / (stem + k + ".bmp"))) << stem << k;
    }
    EXPECT_TRUE(fs::exists(out / (stem + ".gif"))) << stem;
  }
  EXPECT_FALSE(fs::exists(out / "cat03.bmp"));
  EXPECT_TRUE(fs::exists(trash_.Trashed("cat03.bmp")));
  EXPECT_FALSE(fs::exists(pics_ / "cat00.bmp")) << "nothing beside the pictures";
  const std::string summary =
      "kinetta-render: 3 枚のうち 2 枚を書き出しました。失敗 1 枚: " + broken + "（開けません）\n";
  EXPECT_TRUE(err_.str().ends_with(summary)) << err_.str();
  EXPECT_NE(out_.str().find(Source() + ": 3 こまを書き出しました。"), std::string::npos);

  EXPECT_EQ(Run({"-q", "-o", out.string(), "--frames", "3", Source(), Pic("dog.bmp")}), kExitOk);
  EXPECT_EQ(out_.str() + err_.str(), "") << "quiet and all done: nothing to say";
}

// Two pictures whose frames would meet are refused before either is read, naming both; so is a
// picture that another's frames would replace.
TEST_F(CliBatchTest, PicturesWhoseFramesMeetAreRefusedNamingBoth) {
  fs::create_directory(pics_ / "other");
  for (const char* name : {"cat.jpg", "cat00.bmp", "cat1.bmp", "other/cat.bmp"}) {
    fs::copy_file(Source(), pics_ / name);
  }
  const std::string cat = Source();
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{cat, Pic("cat.jpg")},
       cat + " と " + Pic("cat.jpg") + " は同じこまのファイル (" + Pic("cat00.bmp") +
           ", ...) を書き出します。"},
      {{"-o", Pic("out"), cat, Pic("other/cat.bmp")},
       cat + " と " + Pic("other/cat.bmp") + " は同じこまのファイル (" + Pic("out/cat00.bmp") +
           ", ...) を書き出します。"},
      {{"--frames", "2", cat, Pic("cat00.bmp")},
       cat + " のこまのファイルが画像 " + Pic("cat00.bmp") + " を置き換えてしまいます。"},
      // cat's frame 100, or with 100 frames the file after its last, is cat1's frame 0.
      {{"--frames", "100", cat, Pic("cat1.bmp")},
       cat + " と " + Pic("cat1.bmp") + " は同じこまのファイル " + Pic("cat100.bmp") +
           " を書き出します。"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), kExitUsage);
    EXPECT_EQ(err_.str(), "kinetta-render: " + c.err + "\n" + kTryHelp);
  }
  EXPECT_FALSE(fs::exists(pics_ / "cat01.bmp"));
  EXPECT_FALSE(fs::exists(pics_ / "out"));
  // One frame fewer and the two never meet.
  EXPECT_EQ(Run({"-q", "--frames", "99", cat, Pic("cat1.bmp")}), kExitOk) << err_.str();
  EXPECT_TRUE(fs::exists(pics_ / "cat98.bmp"));
  EXPECT_TRUE(fs::exists(pics_ / "cat198.bmp"));
}

}  // namespace
}  // namespace kinetta::cli
