// Path helpers and the base-name rule of frame files.
#include "base/path_helpers.h"

#include <gtest/gtest.h>

namespace kinetta::base {
namespace {

struct FieldCase {
  const char* text;
  const char* delimiters;
  int n;
  const char* expected;
};

class GetFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldTest, PicksTheField) {
  const FieldCase c = GetParam();
  EXPECT_EQ(GetField(c.text, c.delimiters, c.n), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GetFieldTest,
                         testing::Values(FieldCase{"/pics/cat.jpg", ".", 1, "/pics/cat"},
                                         FieldCase{"/pics/cat.jpg", ".", 2, "jpg"},
                                         FieldCase{"/pics/cat.jpg", ".", 3, ""},
                                         FieldCase{"/my.pics/cat.jpg", ".", 1, "/my"},
                                         FieldCase{"/my.pics/cat.jpg", ".", 2, "pics/cat"},
                                         FieldCase{"a..b", ".", 2, ""},
                                         FieldCase{"abc", ".", 1, "abc"}, FieldCase{"", ".", 1, ""},
                                         FieldCase{"a.b", ".", 0, ""},
                                         FieldCase{"a,b;c", ",;", 3, "c"}));

TEST(InStrNth, CountsOverlappingOccurrences) {
  EXPECT_EQ(InStrNth("a/b/c", "/", 2), 4);
  EXPECT_EQ(InStrNth("a/b/c", "/", 3), -1);
  EXPECT_EQ(InStrNth("aaa", "aa", 2), 2);
  EXPECT_EQ(InStrNth("abc", "b", 0), -1);
  EXPECT_EQ(InStrNth("abc", "", 3), 3);
  EXPECT_EQ(InStrNth("abc", "", 4), -1);
}

TEST(SplitPath, CutsAtTheLastSeparator) {
  std::string folder, name;
  SplitPath("/pics/cat.jpg", folder, name);
  EXPECT_EQ(folder, "/pics");
  EXPECT_EQ(name, "cat.jpg");
  SplitPath("/cat.jpg", folder, name);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(name, "cat.jpg");
  SplitPath("/pics/", folder, name);
  EXPECT_EQ(folder, "/pics");
  EXPECT_EQ(name, "");
  SplitPath("cat.jpg", folder, name);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(name, "");
}

TEST(FrameNames, BaseNameStopsAtTheFileNamesFirstPoint) {
  EXPECT_EQ(FrameBaseName("/pics/cat.jpg"), "/pics/cat");
  EXPECT_EQ(FrameBaseName("/pics/cat.small.jpg"), "/pics/cat");
  EXPECT_EQ(FrameBaseName("/my.pics/cat.small.jpg"), "/my.pics/cat");
  EXPECT_EQ(FrameBaseName("/my.pics/picture"), "/my.pics/picture");
  EXPECT_EQ(FrameBaseName("cat.jpg"), "cat");
  EXPECT_EQ(FrameFileStem("/my.pics/my.cat.jpg"), "my");
}

TEST(FrameNames, TwoDigitsUpToNineThenAsManyAsNeeded) {
  EXPECT_EQ(FrameFileName("/pics/cat.jpg", 0), "/pics/cat00.bmp");
  EXPECT_EQ(FrameFileName("/pics/cat.jpg", 3), "/pics/cat03.bmp");
  EXPECT_EQ(FrameFileName("/pics/cat.jpg", 9), "/pics/cat09.bmp");
  EXPECT_EQ(FrameFileName("/pics/cat.jpg", 12), "/pics/cat12.bmp");
  EXPECT_EQ(FrameFileName("/pics/cat.jpg", 100), "/pics/cat100.bmp");
}

// Reading a frame number back accepts only the spelling FrameFileName gives.
TEST(FrameNames, NumberReadBackOnlyFromTheNamesOwnSpelling) {
  const struct {
    const char* name;
    const char* stem;
    int number;
  } cases[] = {{"cat07.bmp", "cat", 7},   {"cat123.bmp", "cat", 123}, {"cat100.bmp", "cat1", 0},
               {"cat007.bmp", "cat", -1}, {"cat7.bmp", "cat", -1},    {"cat07.BMP", "cat", -1},
               {"dog07.bmp", "cat", -1},  {"cat0x.bmp", "cat", -1},   {"07.bmp", "", 7}};
  for (const auto& c : cases) EXPECT_EQ(FrameNumberOf(c.name, c.stem), c.number) << c.name;
}

TEST(AppFolder, IsTheExecutablesFolderWithoutTrailingSeparator) {
  const std::string folder = AppFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '/');
  EXPECT_EQ(folder.front(), '/');
}

}  // namespace
}  // namespace kinetta::base
