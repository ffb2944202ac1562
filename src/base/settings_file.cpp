// Reading and writing mivet.ini.
#include "base/settings_file.h"

#include <unistd.h>

#include <system_error>
#include <vector>

#include "base/atomic_file.h"
#include "base/number_text.h"
#include "base/regular_file.h"

namespace kinetta::base {

std::filesystem::path SettingsFilePath(const std::filesystem::path& folder) {
  return folder / "mivet.ini";
}

SettingsLocation LocateSettingsFile(const std::filesystem::path& appFolder,
                                    const std::filesystem::path& userFolder,
                                    bool appFolderWritable) {
  const std::filesystem::path appFile = SettingsFilePath(appFolder);
  if (appFolderWritable || userFolder.empty()) return {appFile, appFile};
  const std::filesystem::path userFile = SettingsFilePath(userFolder);
  std::error_code error;
  const bool userFileThere = std::filesystem::exists(userFile, error);
  return {userFileThere || !std::filesystem::exists(appFile, error) ? userFile : appFile, userFile};
}

bool FolderWritable(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

namespace {

// The file holds nine short lines; anything much larger is not a settings file.
constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Reads line `i` into `target` when it exists and its value fits; otherwise leaves the default.
void ReadInt16(const std::vector<std::string>& lines, std::size_t i, int& target) {
  if (i >= lines.size()) return;
  if (auto v = ToInt16(LeadingNumber(lines[i], Blanks::Leading))) target = *v;
}

}  // namespace

SettingsFile ReadSettingsFile(const std::filesystem::path& file) {
  SettingsFile data;
  const Result<std::vector<std::uint8_t>> bytes = ReadRegularFile(file, kMaxSettingsFileBytes);
  if (!bytes.ok()) return data;
  const std::vector<std::string> lines =
      SplitLines(std::string(bytes.value().begin(), bytes.value().end()));

  base::Settings& s = data.settings;
  ReadInt16(lines, 0, s.ShapeIndex);
  ReadInt16(lines, 1, s.WidthMode);
  ReadInt16(lines, 2, s.WidthValue);
  if (lines.size() > 3) {
    if (auto v = ToInt32(LeadingNumber(lines[3], Blanks::Leading))) s.BackColor = *v;
  }
  ReadInt16(lines, 4, s.FrameCount);
  ReadInt16(lines, 5, s.Shade3D);
  for (std::size_t i = 0; i < 3; ++i) {
    if (6 + i < lines.size()) data.recentFiles[i] = lines[6 + i];
  }
  int clear = 0, format = 0;
  ReadInt16(lines, 9, clear);
  ReadInt16(lines, 10, format);
  s.TransparentBack = clear == 1;
  if (format >= 0 && format <= 2) s.FrameFiles = static_cast<FrameFormat>(format);
  return data;
}

std::string SettingsFileText(const SettingsFile& data) {
  const base::Settings& s = data.settings;
  std::string text;
  for (long long v : {static_cast<long long>(s.ShapeIndex), static_cast<long long>(s.WidthMode),
                      static_cast<long long>(s.WidthValue), static_cast<long long>(s.BackColor),
                      static_cast<long long>(s.FrameCount), static_cast<long long>(s.Shade3D)}) {
    text += NumberText(v) + "\r\n";
  }
  for (const std::string& path : data.recentFiles) text += path + "\r\n";
  if (s.TransparentBack || s.FrameFiles != FrameFormat::Auto) {
    text += NumberText(s.TransparentBack ? 1 : 0) + "\r\n";
    text += NumberText(static_cast<long long>(s.FrameFiles)) + "\r\n";
  }
  return text;
}

Status WriteSettingsFile(const std::filesystem::path& file, const SettingsFile& data) {
  const std::string text = SettingsFileText(data);
  return WriteFileAtomically(file, text.data(), text.size());
}

}  // namespace kinetta::base
