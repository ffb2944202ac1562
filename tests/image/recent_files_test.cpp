// The three-entry recent-file list.
#include "image/recent_files.h"

#include <gtest/gtest.h>

namespace kinetta::image {
namespace {

using List = std::array<std::string, 3>;

struct RecentCase {
  List before;
  std::string opened;
  List after;
};

void PrintTo(const RecentCase& c, std::ostream* os) { *os << "opening " << c.opened; }

class RecentFilesTest : public testing::TestWithParam<RecentCase> {};

TEST_P(RecentFilesTest, Updates) {
  RecentCase c = GetParam();
  UpdateRecentFiles(c.before, c.opened);
  EXPECT_EQ(c.before, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecentFilesTest,
    testing::Values(RecentCase{{"", "", ""}, "/pics/cat.jpg", {"/pics/cat.jpg", "", ""}},
                    RecentCase{{"X", "Y", "Z"}, "Y", {"Y", "X", "Z"}},
                    RecentCase{{"X", "Y", "Z"}, "Z", {"Z", "X", "Y"}},
                    RecentCase{{"X", "Y", "Z"}, "W", {"W", "X", "Y"}},
                    RecentCase{{"X", "Y", "Z"}, "X", {"X", "Y", "Z"}},
                    RecentCase{{"X", "", ""}, "W", {"W", "X", ""}},
                    RecentCase{{"X", "Y", "Z"}, "x", {"x", "X", "Y"}}));

}  // namespace
}  // namespace kinetta::image
