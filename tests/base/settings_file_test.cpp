// mivet.ini: the defaults, the exact text written, reading back, and malformed files.
#include "base/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "test_support.h"

namespace kinetta::base {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::filesystem::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

TEST(SettingsFile, MissingFileGivesDefaultsAndWritesNineLines) {
  test::TempFolder dir;
  const SettingsFile data = ReadSettingsFile(dir / "mivet.ini");
  EXPECT_EQ(data, SettingsFile{});
  EXPECT_EQ(data.settings.WidthMode, 1);
  EXPECT_EQ(data.settings.WidthValue, 100);
  ASSERT_TRUE(WriteSettingsFile(dir / "mivet.ini", data).ok());
  EXPECT_EQ(ReadAll(dir / "mivet.ini"), " 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n\r\n\r\n\r\n");
}

// The clear background and the frame format follow the nine lines, only when set.
TEST(SettingsFile, RoundTripKeepsWhiteAndPathsWithBlanks) {
  const struct {
    bool clear;
    FrameFormat format;
    const char* after;  // what follows the nine lines
  } cases[] = {{false, FrameFormat::Auto, ""},
               {true, FrameFormat::Auto, " 1\r\n 0\r\n"},
               {false, FrameFormat::Png, " 0\r\n 2\r\n"},
               {true, FrameFormat::Bmp, " 1\r\n 1\r\n"}};
  for (const auto& c : cases) {
    test::TempFolder dir;
    SettingsFile data;
    data.settings = {5, 2, 320, 16777215, 24, 0, c.clear, c.format};
    data.recentFiles = {"/pics/my cat.jpg", "", "/b.bmp"};
    ASSERT_TRUE(WriteSettingsFile(dir / "mivet.ini", data).ok());
    EXPECT_EQ(ReadAll(dir / "mivet.ini"),
              std::string(" 5\r\n 2\r\n 320\r\n 16777215\r\n 24\r\n 0\r\n/pics/my cat.jpg\r\n\r\n"
                          "/b.bmp\r\n") +
                  c.after);
    EXPECT_EQ(ReadSettingsFile(dir / "mivet.ini"), data);
  }
}

TEST(SettingsFile, HalvesGoToEvenAndPlainDigitsAreRewrittenWithTheBlank) {
  test::TempFolder dir;
  WriteText(dir / "mivet.ini", "3\r\n 12.5\r\n 13.5\r\n 255 \r\n 40\r\n 0\r\n/a.jpg\r\n\r\n\r\n");
  const SettingsFile data = ReadSettingsFile(dir / "mivet.ini");
  EXPECT_EQ(data.settings.ShapeIndex, 3);
  EXPECT_EQ(data.settings.WidthMode, 12);
  EXPECT_EQ(data.settings.WidthValue, 14);
  EXPECT_EQ(data.settings.BackColor, 255);
  EXPECT_EQ(SettingsFileText(data).substr(0, 4), " 3\r\n");
}

TEST(SettingsFile, ShortFileAndOutOfRangeValuesTakeDefaultsForThoseOnly) {
  test::TempFolder dir;
  WriteText(dir / "mivet.ini", " 4\n 40000\n 250\n");  // LF only, three lines, one too large
  SettingsFile data = ReadSettingsFile(dir / "mivet.ini");
  EXPECT_EQ(data.settings.ShapeIndex, 4);
  EXPECT_EQ(data.settings.WidthMode, 1);  // 40000 does not fit: default
  EXPECT_EQ(data.settings.WidthValue, 250);
  EXPECT_EQ(data.settings.FrameCount, 1);
  EXPECT_EQ(data.settings.Shade3D, 1);
  EXPECT_EQ(data.recentFiles, RecentList{});
  // Past the nine lines, values out of range keep the defaults.
  WriteText(dir / "mivet.ini", " 0\r\n 1\r\n 100\r\n 0\r\n 1\r\n 1\r\n\r\n\r\n\r\n 7\r\n 3\r\n");
  data = ReadSettingsFile(dir / "mivet.ini");
  EXPECT_FALSE(data.settings.TransparentBack);
  EXPECT_EQ(data.settings.FrameFiles, FrameFormat::Auto);
}

// A settings file that is a folder, a FIFO (which would wait for a writer) or far larger than
// nine lines is not read: the defaults, as for a missing file.
TEST(SettingsFile, OnlyASmallRegularFileIsRead) {
  test::TempFolder dir;
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::string big = " 4\r\n 2\r\n 250\r\n";
  big.resize(64 * 1024 + 1, ' ');
  WriteText(dir / "big", big);
  for (const char* name : {"folder", "fifo", "big"}) {
    EXPECT_EQ(ReadSettingsFile(dir / name), SettingsFile{}) << name;
  }
  big.resize(64 * 1024);
  WriteText(dir / "big", big);
  EXPECT_EQ(ReadSettingsFile(dir / "big").settings.ShapeIndex, 4) << "64 KiB is still read";
}

// A writable program folder keeps the file (a portable copy); a system install keeps it in the
// user's folder, reading the program folder's file only until the user has one.
TEST(SettingsFile, LocationFollowsTheProgramFolderThenTheUserFolder) {
  struct Row {
    bool appWritable, appFile, userFile, noUserFolder;
    const char *read, *write;
  };
  for (const Row& row :
       {Row{true, true, true, false, "app", "app"}, Row{true, false, false, false, "app", "app"},
        Row{false, true, false, false, "app", "user"},
        Row{false, true, true, false, "user", "user"},
        Row{false, false, false, false, "user", "user"},
        Row{false, true, false, true, "app", "app"}}) {
    test::TempFolder dir;
    std::filesystem::create_directories(dir / "app");
    std::filesystem::create_directories(dir / "user");
    if (row.appFile) WriteText(dir / "app" / "mivet.ini", " 1\r\n");
    if (row.userFile) WriteText(dir / "user" / "mivet.ini", " 2\r\n");
    const SettingsLocation got = LocateSettingsFile(
        dir / "app", row.noUserFolder ? std::filesystem::path() : dir / "user", row.appWritable);
    EXPECT_EQ(got, (SettingsLocation{dir / row.read / "mivet.ini", dir / row.write / "mivet.ini"}))
        << row.appWritable << row.appFile << row.userFile << row.noUserFolder;
  }
}

TEST(SettingsFile, UnwritableFileIsReportedAndLeavesNothing) {
  test::TempFolder dir;
  const Status written = WriteSettingsFile(dir / "missing-folder" / "mivet.ini", SettingsFile{});
  EXPECT_FALSE(written.ok());
  EXPECT_FALSE(written.message().empty());
}

}  // namespace
}  // namespace kinetta::base
