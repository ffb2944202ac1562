// Path and text helpers, including the base-name rule shared by frames, preview and page.
#include "base/path_helpers.h"

#include <filesystem>
#include <system_error>

namespace kinetta::base {

std::string AppFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  std::string folder = ec ? std::filesystem::current_path(ec).string()
                          : exe.parent_path().string();
  if (!folder.empty() && folder.back() == kSeparator) folder.pop_back();
  return folder;
}

int InStrNth(std::string_view text, std::string_view pattern, int n) {
  if (n <= 0) return -1;
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, pattern.size()) == pattern && ++count == n) {
      return static_cast<int>(i) + 1;
    }
  }
  return -1;
}

void SplitPath(std::string_view path, std::string& folder, std::string& name) {
  const std::string_view sep(&kSeparator, 1);
  folder.clear();
  name.clear();
  if (InStrNth(path, sep, 1) < 0) return;
  // Only the first 99 separators are looked at.
  int last = -1;
  for (int k = 1; k <= 99; ++k) {
    const int pos = InStrNth(path, sep, k);
    if (pos < 0) break;
    last = pos;
  }
  folder.assign(path.substr(0, static_cast<std::size_t>(last - 1)));
  name.assign(path.substr(static_cast<std::size_t>(last)));
}

std::string GetField(std::string_view text, std::string_view delimiters, int n) {
  int count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (delimiters.find(text[i]) == std::string_view::npos) continue;
    if (++count == n) return std::string(text.substr(start, i - start));
    start = i + 1;
  }
  if (n == count + 1) return std::string(text.substr(start));
  return {};
}

std::string FrameBaseName(std::string_view sourcePath) {
  const std::size_t sep = sourcePath.rfind(kSeparator);
  if (sep == std::string_view::npos) return GetField(sourcePath, ".", 1);
  return std::string(sourcePath.substr(0, sep + 1)) +
         GetField(sourcePath.substr(sep + 1), ".", 1);
}

std::string FrameFileName(std::string_view sourcePath, int n) {
  std::string name = FrameBaseName(sourcePath);
  if (n <= 9) name += '0';
  name += std::to_string(n);
  name += ".bmp";
  return name;
}

std::string FrameFileStem(std::string_view sourcePath) {
  const std::size_t sep = sourcePath.rfind(kSeparator);
  const std::string_view name =
      sep == std::string_view::npos ? sourcePath : sourcePath.substr(sep + 1);
  return GetField(name, ".", 1);
}

}  // namespace kinetta::base
