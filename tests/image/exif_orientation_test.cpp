// The orientation tag read from EXIF blocks built here, in either byte order, and from broken
// and hostile ones, which give 1 and end.
#include "image/exif_orientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kinetta::image {
namespace {

struct Entry {
  std::uint16_t tag, type;
  std::uint32_t count, value;  // a short value sits in the first two bytes
};

// A TIFF block naming its first directory at `ifdAt`, with that directory at 8: `entries` (their
// number given as `count` when that is not 0) and the next directory's offset.
std::vector<std::uint8_t> Block(bool big, const std::vector<Entry>& entries,
                                std::uint32_t ifdAt = 8, std::uint32_t next = 0,
                                std::uint16_t count = 0) {
  std::vector<std::uint8_t> b(2, static_cast<std::uint8_t>(big ? 'M' : 'I'));
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> 8 * (big ? bytes - 1 - i : i)));
  };
  put(42, 2);
  put(ifdAt, 4);
  put(count ? count : static_cast<std::uint16_t>(entries.size()), 2);
  for (const Entry& e : entries) {
    put(e.tag, 2);
    put(e.type, 2);
    put(e.count, 4);
    put(e.type == 3 && big ? e.value << 16 : e.value, 4);
  }
  put(next, 4);
  return b;
}

constexpr std::uint16_t kTag = 0x0112, kExifPointer = 0x8769, kMake = 0x010F;
constexpr std::uint16_t kShort = 3, kLong = 4, kAscii = 2;

// Entries that each make libexif copy the same 60 KB: past its memory budget the rest are
// skipped, the tag at the end among them.
std::vector<std::uint8_t> ManyCopiesOfOneLargeValue() {
  std::vector<Entry> entries(5000, Entry{kMake, kAscii, 60000, 8});
  entries.back() = {kTag, kShort, 1, 6};
  std::vector<std::uint8_t> b = Block(false, entries);
  b.resize(62000);
  return b;
}

TEST(ExifOrientation, ReadsTheTagAndGivesOneForAnythingElse) {
  const std::vector<std::tuple<const char*, std::vector<std::uint8_t>, int>> cases = {
      {"empty", {}, 1},
      {"little-endian 6", Block(false, {{kTag, kShort, 1, 6}}), 6},
      {"big-endian 8, second", Block(true, {{kMake, kAscii, 3, 0x41420000}, {kTag, kShort, 1, 8}}),
       8},
      {"no tag", Block(false, {{kMake, kAscii, 3, 0x00424100}}), 1},
      {"value 9", Block(false, {{kTag, kShort, 1, 9}}), 1},
      {"value 0", Block(true, {{kTag, kShort, 1, 0}}), 1},
      {"not a short", Block(false, {{kTag, kLong, 1, 6}}), 1},
      {"value past the end", Block(false, {{kTag, kShort, 40, 6}}), 1},
      {"directory past the end", Block(false, {{kTag, kShort, 1, 6}}, 4000), 1},
      {"directory in the header", Block(true, {{kTag, kShort, 1, 6}}, 2), 1},
      {"no byte order", {'X', 'X', 0, 42, 0, 0, 0, 8, 0, 0}, 1},
      {"cut in the header", {'I', 'I', 42}, 1},
      {"more entries than bytes", Block(true, {{kTag, kShort, 1, 3}}, 8, 0, 0xFFFF), 3},
      // Directories that point back to themselves end; the first directory's tag still counts.
      {"next directory loops", Block(false, {{kTag, kShort, 1, 7}}, 8, 8), 7},
      {"sub-directory loops", Block(true, {{kExifPointer, kLong, 1, 8}, {kTag, kShort, 1, 5}}), 5},
      {"copies of one large value", ManyCopiesOfOneLargeValue(), 1},
      // After the hostile block, a plain one is read in full again.
      {"little-endian 4 after", Block(false, {{kTag, kShort, 1, 4}}), 4},
  };
  for (const auto& [name, block, orientation] : cases) {
    EXPECT_EQ(ExifOrientation(block), orientation) << name;
  }
}

}  // namespace
}  // namespace kinetta::image
