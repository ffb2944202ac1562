// The HTML page: its bytes, the frame time rule, where it goes, and the viewer files beside it.
#include "export/html_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <tuple>

#include "base/messages.h"
#include "test_support.h"

namespace kinetta::exporter {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(PageText, CatPictureOfTenFramesAtTheDefaultTime) {
  const PageContent content{320, 240, 10, "cat", 200};
  const std::string expected =
      "<html>\r\n"
      "<head>\r\n"
      "<title>Animation</title>\r\n"
      "</head>\r\n"
      "<body>\r\n"
      "<H2>Animation</H2><BR>\r\n"
      "<applet code='vorrel.class' width= 320 height= 240>\r\n"
      "<script src='vorrel.js'></script>\r\n"
      "<param NAME='Count' value=' 9'>\r\n"
      "<param NAME='File1' value='cat'>\r\n"
      "<param NAME='File2' value='bmp'>\r\n"
      "<param NAME='Time0' value=' 200'>\r\n"
      "<param NAME='Time1' value=' 200'>\r\n"
      "<param NAME='Time9' value=' 200'>\r\n"
      "</applet><BR><BR>\r\n"
      "<HR><I>Presented by <A HREF=\"https://kinetta.example.org/\" TARGET=\"_top\">Kinetta"
      "</A></I>\r\n"
      "</body>\r\n"
      "</html>\r\n";
  EXPECT_EQ(PageText(content), expected);
}

TEST(PageLines, NoFramesGiveCountMinusOneWithoutBlank) {
  const std::vector<std::string> lines = PageLines({0, 0, 0, "cat", 0});
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[6], "<applet code='vorrel.class' width= 0 height= 0>");
  EXPECT_EQ(lines[8], "<param NAME='Count' value='-1'>");
  EXPECT_EQ(lines[11], "<param NAME='Time0' value=' 0'>");
}

TEST(PageLines, FileNameIsQuotedSafely) {
  EXPECT_EQ(PageLines({1, 1, 1, "tom's & <jerry>", 1})[9],
            "<param NAME='File1' value='tom&#39;s &amp; &lt;jerry&gt;'>");
}

TEST(AttributeText, EscapesMarkupAndEveryCharacterBeyondAscii) {
  EXPECT_EQ(AttributeText("cat_01-x"), "cat_01-x");
  EXPECT_EQ(AttributeText("a\"b"), "a&quot;b");
  // ね U+306D = 12397, こ U+3053 = 12371, 😀 U+1F600 = 128512, é U+00E9 = 233.
  EXPECT_EQ(AttributeText("ねこ"), "&#12397;&#12371;");
  EXPECT_EQ(AttributeText("\xF0\x9F\x98\x80"), "&#128512;");
  EXPECT_EQ(AttributeText("caf\xC3\xA9"), "caf&#233;");
  // Bytes that are no UTF-8 (a lone continuation byte, an overlong form) pass unchanged.
  EXPECT_EQ(AttributeText("a\x80z"), "a\x80z");
  EXPECT_EQ(AttributeText("\xC0\xAF"), "\xC0\xAF");
}

struct TimeCase {
  const char* text;
  std::optional<int> ms;
  std::string_view message;  // empty when accepted
};

class ReadFrameTimeTest : public testing::TestWithParam<TimeCase> {};

TEST_P(ReadFrameTimeTest, ReadsOrRefuses) {
  const TimeCase c = GetParam();
  const base::Result<FrameTime> t = ReadFrameTime(c.text);
  EXPECT_EQ(t.ok() ? std::optional<int>(t.value().ms) : std::nullopt, c.ms) << "'" << c.text << "'";
  EXPECT_EQ(t.message(), c.message) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadFrameTimeTest,
                         testing::Values(TimeCase{"0.2", 200, ""}, TimeCase{"1.5", 1500, ""},
                                         TimeCase{"0.25", 250, ""}, TimeCase{"0.0004", 0, ""},
                                         TimeCase{"0.0016", 2, ""}, TimeCase{"0", 0, ""},
                                         TimeCase{" 0.2 ", 200, ""}, TimeCase{".5", 500, ""},
                                         TimeCase{"2", 2000, ""}, TimeCase{"32.767", 32767, ""},
                                         TimeCase{"abc", std::nullopt, base::kNotANumberMessage},
                                         TimeCase{"", std::nullopt, base::kNotANumberMessage},
                                         TimeCase{"0.2s", std::nullopt, base::kNotANumberMessage},
                                         TimeCase{"0,2", std::nullopt, base::kNotANumberMessage},
                                         TimeCase{"-1", std::nullopt, base::kTimeRangeMessage},
                                         TimeCase{"-0.0004", std::nullopt, base::kTimeRangeMessage},
                                         TimeCase{"33", std::nullopt, base::kTimeRangeMessage},
                                         TimeCase{"32.768", std::nullopt, base::kTimeRangeMessage},
                                         TimeCase{"1e400", std::nullopt, base::kTimeRangeMessage}));

TEST(BesideSource, TheSourceFolderOrTheCurrentOne) {
  EXPECT_EQ(BesideSource("/pics/cat.jpg", "animate.htm"), "/pics/animate.htm");
  EXPECT_EQ(BesideSource("/my.pics/cat.jpg", "vorrel.js"), "/my.pics/vorrel.js");
  EXPECT_EQ(BesideSource("/cat.jpg", "animate.htm"), "/animate.htm");
  // A picture named without folder has its frames in the current folder; the page joins them.
  EXPECT_EQ(BesideSource("cat.jpg", "animate.htm"), "animate.htm");
}

// A program folder with both viewer files, and a source folder.
class ExportPageTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(app_ / "sample");
    std::filesystem::create_directories(pics_);
    WriteAll(app_ / "sample" / "vorrel.class", "applet 1");
    WriteAll(app_ / "sample" / "vorrel.js", "script 1");
  }
  ExportRequest Request(const std::string& source) const {
    ExportRequest r;
    r.sourcePath = source;
    r.appFolder = app_.string();
    r.frameCount = 10;
    r.canvasWidth = 320;
    r.canvasHeight = 240;
    r.frameTimeMs = 200;
    return r;
  }
  std::vector<std::string> Lines(const std::filesystem::path& page) const {
    std::vector<std::string> lines;
    std::istringstream in(ReadAll(page));
    for (std::string line; std::getline(in, line, '\n');) lines.push_back(line);
    return lines;
  }

  test::TempFolder temp_;
  std::filesystem::path app_ = temp_ / "app";
  std::filesystem::path pics_ = temp_ / "pics";
};

TEST_F(ExportPageTest, WritesThePageAndCopiesBothViewerFiles) {
  const ExportResult r = ExportPage(Request((pics_ / "cat.jpg").string()));
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(r.pagePath, pics_ / "animate.htm");
  EXPECT_EQ(ReadAll(pics_ / "animate.htm"), PageText({320, 240, 10, "cat", 200}));
  EXPECT_EQ(ReadAll(pics_ / "vorrel.class"), "applet 1");
  EXPECT_EQ(ReadAll(pics_ / "vorrel.js"), "script 1");
}

// The page names the frames a run of the settings writes: PNG when chosen, or by Auto with a
// clear background.
TEST_F(ExportPageTest, NamesTheFramesFormat) {
  using F = base::FrameFormat;
  for (const auto& [clear, format, file2] : {std::tuple{false, F::Auto, "bmp"},
                                             {true, F::Auto, "png"},
                                             {false, F::Png, "png"},
                                             {true, F::Bmp, "bmp"}}) {
    ExportRequest r = Request((pics_ / "cat.jpg").string());
    base::Settings s;
    s.TransparentBack = clear;
    s.FrameFiles = format;
    r.frameExtension = FrameExtensionOf(s);
    ASSERT_TRUE(ExportPage(r).status.ok());
    EXPECT_EQ(Lines(pics_ / "animate.htm")[10],
              "<param NAME='File2' value='" + std::string(file2) + "'>\r");
  }
}

TEST_F(ExportPageTest, FirstPointOfTheFileNameEndsFile1) {
  ASSERT_TRUE(ExportPage(Request((pics_ / "my.cat.jpg").string())).status.ok());
  EXPECT_EQ(Lines(pics_ / "animate.htm")[9], "<param NAME='File1' value='my'>\r");

  // A point in the folder name: the page goes into that folder and File1 is still the file
  // name cut at its first point, where the frames are.
  const std::filesystem::path dotted = temp_ / "my.pics";
  std::filesystem::create_directories(dotted);
  ASSERT_TRUE(ExportPage(Request((dotted / "cat.small.jpg").string())).status.ok());
  EXPECT_EQ(Lines(dotted / "animate.htm")[9], "<param NAME='File1' value='cat'>\r");
  EXPECT_TRUE(std::filesystem::exists(dotted / "vorrel.class"));
}

TEST_F(ExportPageTest, SecondExportReplacesPageAndBothViewerFiles) {
  const std::string source = (pics_ / "cat.jpg").string();
  ASSERT_TRUE(ExportPage(Request(source)).status.ok());
  WriteAll(app_ / "sample" / "vorrel.class", "applet 2");
  WriteAll(app_ / "sample" / "vorrel.js", "script 2");
  ExportRequest second = Request(source);
  second.frameCount = 3;
  second.frameTimeMs = 1500;
  ASSERT_TRUE(ExportPage(second).status.ok());
  EXPECT_EQ(ReadAll(pics_ / "vorrel.class"), "applet 2");
  EXPECT_EQ(ReadAll(pics_ / "vorrel.js"), "script 2");
  EXPECT_EQ(ReadAll(pics_ / "animate.htm"), PageText({320, 240, 3, "cat", 1500}));
}

TEST_F(ExportPageTest, MissingViewerFilesDoNotStopThePage) {
  std::filesystem::remove_all(app_ / "sample");
  const ExportResult r = ExportPage(Request((pics_ / "cat.jpg").string()));
  EXPECT_TRUE(r.status.ok());
  EXPECT_EQ(r.viewers.cause(), base::Cause::NotFound);
  EXPECT_EQ(r.viewers.message(),
            "vorrel.class (見本のファイルがありません)、vorrel.js (見本のファイルがありません)");
  EXPECT_TRUE(std::filesystem::exists(pics_ / "animate.htm"));
  EXPECT_FALSE(std::filesystem::exists(pics_ / "vorrel.class"));
  EXPECT_FALSE(std::filesystem::exists(pics_ / "vorrel.js"));
}

// A viewer file that cannot be read or written leaves the older copy whole, and only it is
// listed; the other is copied.
TEST_F(ExportPageTest, FailedViewerCopyKeepsTheOlderCopyAndIsListed) {
  WriteAll(pics_ / "vorrel.class", "older applet");
  std::filesystem::remove(app_ / "sample" / "vorrel.class");
  std::filesystem::create_directories(app_ / "sample" / "vorrel.class");
  const ExportResult r = ExportPage(Request((pics_ / "cat.jpg").string()));
  EXPECT_TRUE(r.status.ok());
  EXPECT_EQ(r.viewers.message(), "vorrel.class (通常のファイルではありません)");
  EXPECT_EQ(ReadAll(pics_ / "vorrel.class"), "older applet");
  EXPECT_TRUE(std::filesystem::exists(pics_ / "vorrel.js"));
}

TEST_F(ExportPageTest, PageThatCannotBeWrittenIsReportedAndLeavesNoFile) {
  // The source folder is gone.
  const std::filesystem::path gone = temp_ / "gone";
  ExportResult r = ExportPage(Request((gone / "cat.jpg").string()));
  EXPECT_FALSE(r.status.ok());
  EXPECT_EQ(r.status.cause(), base::Cause::NotFound);
  EXPECT_NE(r.status.message().find(base::kPageFailedMessage), std::string::npos)
      << r.status.message();
  EXPECT_NE(r.status.message().find((gone / "animate.htm").string()), std::string::npos)
      << r.status.message();
  EXPECT_NE(r.status.message().find("ファイルまたはフォルダが見つかりません"), std::string::npos)
      << r.status.message();
  EXPECT_FALSE(std::filesystem::exists(gone));

  // A folder stands where the page would go: nothing may be left behind beside it.
  std::filesystem::create_directories(pics_ / "animate.htm");
  r = ExportPage(Request((pics_ / "cat.jpg").string()));
  EXPECT_FALSE(r.status.ok());
  EXPECT_NE(r.status.message().find((pics_ / "animate.htm").string()), std::string::npos)
      << r.status.message();
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(pics_)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"animate.htm", "vorrel.class", "vorrel.js"}));
}

}  // namespace
}  // namespace kinetta::exporter
