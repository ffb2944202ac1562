// Path and text helpers: the program's own folder, cutting a path into folder and name, the
// n-th occurrence of a pattern, the n-th field of a delimited text, and the base name from
// which frame files, the preview and the HTML page are named.
//
// Positions are 1-based and count bytes of the UTF-8 text; every pattern and delimiter the
// program uses is ASCII, so the cuts fall on the same characters as a character count would.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kinetta::base {

/// The platform's path separator, which the program's paths use throughout.
inline constexpr char kSeparator = '/';

/// The folder of the running executable, links followed; empty when the system cannot tell.
std::filesystem::path ExecutableFolder();

/// The folder of the running executable, without a trailing separator (the root gives ""); the
/// current folder when the system cannot tell.
std::string AppFolder();

/// Position of the n-th (possibly overlapping) occurrence of `pattern` in `text`, or -1.
int InStrNth(std::string_view text, std::string_view pattern, int n);

/// Cuts `path` at its last separator; a path without one gives two empty strings.
void SplitPath(std::string_view path, std::string& folder, std::string& name);

/// Field n (1-based) of `text`, where each character found in `delimiters` ends a field.
std::string GetField(std::string_view text, std::string_view delimiters, int n);

/// The folder and file name of `sourcePath` with the name cut at its first point:
/// /my.pics/cat.small.jpg gives /my.pics/cat. A name without a point keeps the whole path.
std::string FrameBaseName(std::string_view sourcePath);

/// The file of frame n: base name, at least two digits, ".bmp" (cat00.bmp ... cat09.bmp,
/// cat10.bmp, cat100.bmp).
std::string FrameFileName(std::string_view sourcePath, int n);

/// The same with another extension (".png").
std::string FrameFileName(std::string_view sourcePath, int n, std::string_view extension);

/// The source file's name without folder, up to its first point (the HTML page's File1).
std::string FrameFileStem(std::string_view sourcePath);

/// The number n for which `fileName` (without folder) is the name of frame n of a source whose
/// stem is `stem`, exactly as FrameFileName spells it (cat07.bmp, cat123.bmp; not cat007.bmp);
/// -1 when it is no such name.
int FrameNumberOf(std::string_view fileName, std::string_view stem);

}  // namespace kinetta::base
