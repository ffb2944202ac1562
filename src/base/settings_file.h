// The settings file mivet.ini: six number lines (shape, width mode, width, background colour,
// frame count, switch) and the three recent source paths, each line ended by CR LF. After them,
// only when either differs from its default, two more number lines: the clear background (1)
// and the frame files' format (0 auto, 1 BMP, 2 PNG). A reader of the nine lines alone ignores
// what follows them, and a file of nine lines reads as the defaults there. It lives in the
// program folder, or in the user's configuration folder where the program folder cannot be
// written (a system install).
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

/// The file read at start and the file written at the end.
struct SettingsLocation {
  std::filesystem::path read;
  std::filesystem::path write;

  friend bool operator==(const SettingsLocation&, const SettingsLocation&) = default;
};

/// Where the settings file lives. A program folder that can be written (a portable copy, a
/// private prefix) keeps it, as it always did. Otherwise it lives in `userFolder` (the user's
/// configuration folder for Kinetta, e.g. ~/.config/kinetta); until the user has one there, a
/// file in the program folder is read, so that one placed there serves every user as a start.
/// An empty `userFolder` (no home folder known) leaves everything in the program folder.
SettingsLocation LocateSettingsFile(const std::filesystem::path& appFolder,
                                    const std::filesystem::path& userFolder,
                                    bool appFolderWritable);

/// Whether files can be created and replaced in `folder` by this process.
bool FolderWritable(const std::filesystem::path& folder);

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
