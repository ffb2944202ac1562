// The recent-file update, slot by slot.
#include "image/recent_files.h"

namespace kinetta::image {

void UpdateRecentFiles(std::array<std::string, 3>& entries, const std::string& path) {
  // Walk the slots; the first empty slot (or the last slot) takes the path, and whatever slot
  // now holds it is rotated to the top.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == 2 || entries[i].empty()) entries[i] = path;
    if (entries[i] != path) continue;
    for (std::size_t j = i; j > 0; --j) entries[j] = entries[j - 1];
    entries[0] = path;
    return;
  }
}

}  // namespace kinetta::image
