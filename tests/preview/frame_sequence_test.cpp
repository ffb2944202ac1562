// The preview's frame order over a set of frame files that load.
#include "preview/frame_sequence.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kinetta::preview {
namespace {

// Frame files that "exist"; every load attempt is recorded.
struct FakeFiles {
  std::set<std::string> present;
  std::vector<std::string> tried;

  FrameSequence::Loader Loader() {
    return [this](const std::string& f) {
      tried.push_back(f);
      return present.count(f) > 0;
    };
  }
};

// The frame numbers shown by `ticks` ticks after a successful start.
std::vector<int> Play(FrameSequence& seq, FakeFiles& files, const std::string& source, int ticks) {
  std::vector<int> shown{seq.frame()};
  for (int i = 0; i < ticks; ++i) {
    if (!seq.Tick(source, files.Loader())) break;
    shown.push_back(seq.frame());
  }
  return shown;
}

TEST(FrameSequenceTest, LoopsOverTheFramesThatExist) {
  FakeFiles files{{"/pics/cat00.bmp", "/pics/cat01.bmp", "/pics/cat02.bmp"}, {}};
  FrameSequence seq;
  ASSERT_TRUE(seq.Start("/pics/cat.jpg", files.Loader()));
  EXPECT_EQ(Play(seq, files, "/pics/cat.jpg", 5), (std::vector<int>{0, 1, 2, 0, 1, 2}));
  // After frame 02 the missing 03 is tried, then 00 shown at once.
  EXPECT_EQ(files.tried,
            (std::vector<std::string>{"/pics/cat00.bmp", "/pics/cat01.bmp", "/pics/cat02.bmp",
                                      "/pics/cat03.bmp", "/pics/cat00.bmp", "/pics/cat01.bmp",
                                      "/pics/cat02.bmp"}));
}

TEST(FrameSequenceTest, AMissingMiddleFrameEndsTheLoop) {
  FakeFiles files{{"/p/a00.bmp", "/p/a01.bmp", "/p/a03.bmp"}, {}};
  FrameSequence seq;
  ASSERT_TRUE(seq.Start("/p/a.bmp", files.Loader()));
  EXPECT_EQ(Play(seq, files, "/p/a.bmp", 5), (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

TEST(FrameSequenceTest, FramesFromTenOnHaveNoLeadingZero) {
  FakeFiles files;
  for (int i = 0; i < 12; ++i) {
    files.present.insert("/p/cat" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bmp");
  }
  FrameSequence seq;
  ASSERT_TRUE(seq.Start("/p/cat.jpg", files.Loader()));
  const std::vector<int> shown = Play(seq, files, "/p/cat.jpg", 12);
  EXPECT_EQ(shown.back(), 0);
  EXPECT_EQ(shown[10], 10);
  EXPECT_EQ(files.tried[10], "/p/cat10.bmp");
  EXPECT_EQ(files.tried[12], "/p/cat12.bmp");
}

TEST(FrameSequenceTest, NoFrameZeroRefusesTheStart) {
  FakeFiles files{{"/p/a01.bmp"}, {}};
  FrameSequence seq;
  EXPECT_FALSE(seq.Start("/p/a.jpg", files.Loader()));
  EXPECT_EQ(files.tried, (std::vector<std::string>{"/p/a00.bmp"}));
}

TEST(FrameSequenceTest, FrameZeroGoneDuringPlaybackEndsIt) {
  FakeFiles files{{"/p/a00.bmp", "/p/a01.bmp"}, {}};
  FrameSequence seq;
  ASSERT_TRUE(seq.Start("/p/a.jpg", files.Loader()));
  files.present.clear();
  files.tried.clear();
  EXPECT_FALSE(seq.Tick("/p/a.jpg", files.Loader()));
  // One try of the next frame and one of frame 00, no more.
  EXPECT_EQ(files.tried, (std::vector<std::string>{"/p/a01.bmp", "/p/a00.bmp"}));
  EXPECT_EQ(seq.frame(), 0);
}

TEST(FrameSequenceTest, AnotherPictureSwitchesAtTheNextTick) {
  FakeFiles files{{"/p/a00.bmp", "/p/a01.bmp", "/q/b00.bmp", "/q/b01.bmp", "/q/b02.bmp"}, {}};
  FrameSequence seq;
  ASSERT_TRUE(seq.Start("/p/a.jpg", files.Loader()));
  ASSERT_TRUE(seq.Tick("/q/b.jpg", files.Loader()));
  EXPECT_EQ(files.tried.back(), "/q/b01.bmp");
  ASSERT_TRUE(seq.Tick("/q/b.jpg", files.Loader()));
  EXPECT_EQ(seq.frame(), 2);
}

TEST(FrameSequenceTest, FramesLieBesideThePictureEvenInAFolderWithAPoint) {
  FakeFiles files{{"/my.pics/cat00.bmp"}, {}};
  FrameSequence seq;
  EXPECT_TRUE(seq.Start("/my.pics/cat.small.jpg", files.Loader()));
}

}  // namespace
}  // namespace kinetta::preview
