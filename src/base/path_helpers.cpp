// Path and text helpers, including the base-name rule shared by frames, preview and page.
#include "base/path_helpers.h"

#include <filesystem>
#include <system_error>

namespace kinetta::base {

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe.parent_path();
}

std::string AppFolder() {
  std::error_code ec;
  const std::filesystem::path exeFolder = ExecutableFolder();
  std::string folder =
      exeFolder.empty() ? std::filesystem::current_path(ec).string() : exeFolder.string();
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
  return std::string(sourcePath.substr(0, sep + 1)) + GetField(sourcePath.substr(sep + 1), ".", 1);
}

std::string FrameFileName(std::string_view sourcePath, int n) {
  return FrameFileName(sourcePath, n, ".bmp");
}

std::string FrameFileName(std::string_view sourcePath, int n, std::string_view extension) {
  std::string name = FrameBaseName(sourcePath);
  if (n <= 9) name += '0';
  name += std::to_string(n);
  name += extension;
  return name;
}

std::string FrameFileStem(std::string_view sourcePath) {
  const std::size_t sep = sourcePath.rfind(kSeparator);
  const std::string_view name =
      sep == std::string_view::npos ? sourcePath : sourcePath.substr(sep + 1);
  return GetField(name, ".", 1);
}

int FrameNumberOf(std::string_view fileName, std::string_view stem) {
  constexpr std::string_view kExtension = ".bmp";
  if (fileName.size() < stem.size() + 2 + kExtension.size() || !fileName.starts_with(stem) ||
      !fileName.ends_with(kExtension)) {
    return -1;
  }
  const std::string_view digits =
      fileName.substr(stem.size(), fileName.size() - stem.size() - kExtension.size());
  // Two digits, or more without a leading zero; frame numbers stay below 32768.
  if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos ||
      (digits.size() > 2 && digits[0] == '0')) {
    return -1;
  }
  int n = 0;
  for (const char c : digits) n = n * 10 + (c - '0');
  return n;
}

}  // namespace kinetta::base
