// The three-entry list of recently opened pictures, newest first.
#pragma once

#include <array>
#include <string>

namespace kinetta::image {

/// Moves `path` to the top of `entries`: a path already listed moves up and the entries above it
/// move down one; a new path goes on top and the third entry drops out. Empty strings are empty
/// slots. Comparison is exact and case-sensitive.
void UpdateRecentFiles(std::array<std::string, 3>& entries, const std::string& path);

}  // namespace kinetta::image
