// The GIF rule: GIF pictures may be opened only when the marker file "gifsw" lies in the program
// folder. The desktop program and the command-line renderer both ask here.
#pragma once

#include <filesystem>
#include <string_view>

namespace kinetta::base {

/// True when the file name's own extension is GIF, in any case (anim.GIF, a.b.gif; not
/// /my.gif/pic.jpg).
bool IsGifName(std::string_view path);

/// True when the marker file "gifsw" in `appFolder` can be opened for reading: GIF pictures may
/// then be opened.
bool GifSupportFromMarker(const std::filesystem::path& appFolder);

}  // namespace kinetta::base
