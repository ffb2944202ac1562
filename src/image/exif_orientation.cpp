// The orientation tag through libexif. The block comes from the file as it is, so libexif's
// memory is kept within a budget: a hostile block can make it copy the same large value for
// every entry of a directory, and an allocation past the budget fails, which libexif takes as a
// damaged entry and skips.
#include "image/exif_orientation.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace kinetta::image {

namespace {

// What libexif may allocate for one block, counted without what it frees: a camera's block
// takes a few times its own size.
constexpr std::size_t kExifBudgetBytes = 16 * kMaxExifBytes;

// libexif's allocator callbacks carry no context; a block is read on one thread from start to
// end, so the budget left is that thread's.
thread_local std::size_t budgetLeft = 0;

bool Charge(ExifLong bytes) {
  if (bytes > budgetLeft) return false;
  budgetLeft -= bytes;
  return true;
}

// libexif expects zeroed memory, as its own allocator gives.
void* Allocate(ExifLong bytes) { return Charge(bytes) ? std::calloc(bytes, 1) : nullptr; }
void* Reallocate(void* p, ExifLong bytes) {
  return Charge(bytes) ? std::realloc(p, bytes) : nullptr;
}
void Free(void* p) { std::free(p); }

struct ExifDataUnref {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};
struct ExifMemUnref {
  void operator()(ExifMem* mem) const { exif_mem_unref(mem); }
};

}  // namespace

int ExifOrientation(PictureBytes exif) {
  if (exif.empty()) return 1;
  // libexif reads a block as a JPEG carries it, after the "Exif" identifier.
  static constexpr char kIdentifier[] = "Exif\0";
  std::vector<unsigned char> block(sizeof kIdentifier);
  std::memcpy(block.data(), kIdentifier, sizeof kIdentifier);
  block.insert(block.end(), exif.begin(), exif.begin() + std::min(exif.size(), kMaxExifBytes));

  budgetLeft = kExifBudgetBytes;
  const std::unique_ptr<ExifMem, ExifMemUnref> mem(exif_mem_new(Allocate, Reallocate, Free));
  if (!mem) return 1;
  const std::unique_ptr<ExifData, ExifDataUnref> data(exif_data_new_mem(mem.get()));
  if (!data) return 1;
  // Read the entries as they are: libexif's option bit 1 would fill in the entries the EXIF
  // standard requires and change those it finds out of range.
  constexpr auto kFillRequiredEntries = static_cast<ExifDataOption>(1 << 1);
  exif_data_unset_option(data.get(), kFillRequiredEntries);
  exif_data_load_data(data.get(), block.data(), static_cast<unsigned>(block.size()));

  ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
      entry->size < 2) {
    return 1;
  }
  const int orientation = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

}  // namespace kinetta::image
