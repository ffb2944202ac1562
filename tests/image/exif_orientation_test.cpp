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
  std::uint32_t count, value;  // value: a short in the first two bytes, or an offset
};

// A TIFF block in big- or little-endian order: its header naming the first directory at
// `ifdAt`, and that directory at offset 8 with `entries` and the next directory's offset.
std::vector<std::uint8_t> Block(bool big, const std::vector<Entry>& entries,
                                std::uint32_t ifdAt = 8, std::uint32_t next = 0,
                                std::uint16_t count = 0) {
  std::vector<std::uint8_t> b;
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      b.push_back(static_cast<std::uint8_t>(v >> (8 * (big ? bytes - 1 - i : i))));
    }
  };
  b = big ? std::vector<std::uint8_t>{'M', 'M'} : std::vector<std::uint8_t>{'I', 'I'};
  put(42, 2);
  put(ifdAt, 4);
  put(count ? count : static_cast<std::uint16_t>(entries.size()), 2);
  for (const Entry& e : entries) {
    put(e.tag, 2);
    put(e.type, 2);
    put(e.count, 4);
    if (e.type == 3 && e.count == 1) {
      put(e.value, 2);
      put(0, 2);
    } else {
      put(e.value, 4);
    }
  }
  put(next, 4);
  return b;
}

constexpr std::uint16_t kOrientation = 0x0112, kExifPointer = 0x8769, kMake = 0x010F;
constexpr std::uint16_t kShort = 3, kLong = 4, kAscii = 2;

struct Case {
  const char* name;
  std::vector<std::uint8_t> block;
  int orientation;
};

// Entries that each make libexif copy the same 60 KB: past its memory budget the rest are
// skipped, the tag at the end among them.
std::vector<std::uint8_t> ManyCopiesOfOneLargeValue() {
  std::vector<Entry> entries(5000, Entry{kMake, kAscii, 60000, 8});
  entries.back() = {kOrientation, kShort, 1, 6};
  std::vector<std::uint8_t> b = Block(false, entries);
  b.resize(62000);
  return b;
}

TEST(ExifOrientation, ReadsTheTagAndGivesOneForAnythingElse) {
  const std::vector<Case> cases = {
      {"empty", {}, 1},
      {"little-endian 6", Block(false, {{kOrientation, kShort, 1, 6}}), 6},
      {"big-endian 8", Block(true, {{kMake, kAscii, 3, 0x41420000}, {kOrientation, kShort, 1, 8}}),
       8},
      {"big-endian 2", Block(true, {{kOrientation, kShort, 1, 2}}), 2},
      {"no tag", Block(false, {{kMake, kAscii, 3, 0x00424100}}), 1},
      {"value 9", Block(false, {{kOrientation, kShort, 1, 9}}), 1},
      {"value 0", Block(true, {{kOrientation, kShort, 1, 0}}), 1},
      {"not a short", Block(false, {{kOrientation, kLong, 1, 6}}), 1},
      {"value past the end", Block(false, {{kOrientation, kShort, 40, 6}}), 1},
      {"directory past the end", Block(false, {{kOrientation, kShort, 1, 6}}, 4000), 1},
      {"directory in the header", Block(true, {{kOrientation, kShort, 1, 6}}, 2), 1},
      {"no byte order", {'X', 'X', 0, 42, 0, 0, 0, 8, 0, 0}, 1},
      {"cut in the header", {'I', 'I', 42}, 1},
      {"more entries than bytes", Block(true, {{kOrientation, kShort, 1, 3}}, 8, 0, 0xFFFF), 3},
      // Directories that point back to themselves end; the first directory's tag still counts.
      {"next directory loops", Block(false, {{kOrientation, kShort, 1, 7}}, 8, /*next=*/8), 7},
      {"sub-directory loops",
       Block(true, {{kExifPointer, kLong, 1, 8}, {kOrientation, kShort, 1, 5}}, 8, 8), 5},
      {"copies of one large value", ManyCopiesOfOneLargeValue(), 1},
      // After the hostile block, a plain one is read in full again.
      {"little-endian 4 after", Block(false, {{kOrientation, kShort, 1, 4}}), 4},
  };
  for (const Case& c : cases) EXPECT_EQ(ExifOrientation(c.block), c.orientation) << c.name;
}

}  // namespace
}  // namespace kinetta::image
