// The settings file mivet.ini in the program folder: six number lines (shape, width mode,
// width, background colour, frame count, switch) and the three recent source paths, each line
// ended by CR LF. After them, only when either differs from its default, two more number lines:
// the clear background (1) and the frame files' format (0 auto, 1 BMP, 2 PNG). A reader of the
// nine lines alone ignores what follows them, and a file of nine lines reads as the defaults
// there.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "base/outcome.h"
#include "base/settings.h"

namespace kinetta::base {

using RecentList = std::array<std::string, 3>;

struct SettingsFile {
  base::Settings settings;
  RecentList recentFiles;

  friend bool operator==(const SettingsFile&, const SettingsFile&) = default;
};

/// The settings file in `folder` (the program folder): folder/mivet.ini.
std::filesystem::path SettingsFilePath(const std::filesystem::path& folder);

/// Reads the file. A file that cannot be opened, or is not a regular file of at most 64 KiB,
/// gives the defaults and an empty recent list.
/// A number that is missing (short file) or does not fit its setting takes that setting's
/// default; the values that were read are kept.
SettingsFile ReadSettingsFile(const std::filesystem::path& file);

/// Writes the lines, replacing the file in one step. Fails with the reason when the file
/// cannot be written; the old file then stays as it was.
Status WriteSettingsFile(const std::filesystem::path& file, const SettingsFile& data);

/// The file's text for `data`.
std::string SettingsFileText(const SettingsFile& data);

}  // namespace kinetta::base
