// The GIF rule's two questions: is this a GIF name, and does the marker file allow GIFs.
#include "base/gif_rule.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

#include "base/path_helpers.h"

namespace kinetta::base {

bool IsGifName(std::string_view path) {
  const std::size_t sep = path.rfind(kSeparator);
  const std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext(name.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext == "GIF";
}

bool GifSupportFromMarker(const std::filesystem::path& appFolder) {
  std::ifstream marker(appFolder / "gifsw", std::ios::binary);
  return marker.is_open();
}

}  // namespace kinetta::base
