// The HTML page that plays the frames in a browser: its eighteen lines, the frame time typed
// by the user, and the export itself (viewer files copied beside the frames, page written). The
// page names BMP or PNG frames; PNG frames keep their transparency, over the page's background.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "base/settings.h"

namespace kinetta::exporter {

inline constexpr std::string_view kPageFileName = "animate.htm";
inline constexpr std::string_view kAppletFileName = "vorrel.class";
inline constexpr std::string_view kScriptFileName = "vorrel.js";
/// The program folder's subfolder that holds the viewer files.
inline constexpr std::string_view kSampleFolder = "sample";

/// The page footer's link: the project's address and its title.
inline constexpr std::string_view kSiteAddress = "https://kinetta.example.org/";
inline constexpr std::string_view kSiteTitle = "Kinetta";

/// The longest frame time the page can carry, in milliseconds (a 16-bit number).
inline constexpr int kMaxFrameTimeMs = 32767;

/// What the page says.
struct PageContent {
  int canvasWidth = 0;   ///< the viewer's width in pixels
  int canvasHeight = 0;  ///< the viewer's height in pixels
  int frameCount = 0;    ///< frames of the run; the page carries the highest number, one less
  std::string file1;     ///< the frame files' name before the number (FrameFileStem)
  int frameTimeMs = 0;   ///< display time of every frame
  /// The frame files' extension.
  std::string file2 = "bmp";
};

/// The extension of the frame files a run of `s` writes, which the page names: "png" for PNG
/// frames (chosen, or Auto with a clear background), "bmp" otherwise.
std::string FrameExtensionOf(const base::Settings& s);

/// The page's eighteen lines, without line ends.
std::vector<std::string> PageLines(const PageContent& content);

/// The page as it is written: every line followed by CR LF.
std::string PageText(const PageContent& content);

/// `text` made safe inside a quoted attribute value: & ' " < > and every character beyond
/// ASCII become character references, so a file name of any characters reaches the viewer
/// unchanged whatever encoding the browser assumes for the page. Plain names stay as they are.
std::string AttributeText(std::string_view text);

/// The frame time the user typed.
struct FrameTime {
  int ms = 0;          ///< milliseconds
  double seconds = 0;  ///< the number read
};

/// Reads `text` as decimal seconds (blanks around it allowed, full-width digits taken as
/// digits) and turns it into whole milliseconds, halves to even: "0.2" gives 200, "0.0016"
/// gives 2, "0.0004" gives 0. Text that is no number, or a time below 0 or above 32.767
/// seconds, is refused (Cause::BadArgument) with the message for the user.
base::Result<FrameTime> ReadFrameTime(std::string_view text);

/// The file `name` in the source picture's folder. A source path without any folder (a name
/// in the current folder) keeps the file in the current folder too, beside its frames.
std::filesystem::path BesideSource(std::string_view sourcePath, std::string_view name);

struct ExportRequest {
  std::string sourcePath;  ///< the open source picture; the page goes into its folder
  std::string appFolder;   ///< the program folder, whose sample subfolder holds the viewer
  int frameCount = 0;
  int canvasWidth = 0;
  int canvasHeight = 0;
  int frameTimeMs = 0;
  std::string frameExtension = "bmp";                 ///< of the frame files the page plays
  std::string pageName = std::string(kPageFileName);  ///< the page's name in that folder
};

/// The frame files' name (File1) that the page `page` already plays, as the page spells it;
/// nothing when there is no such page or it names none.
std::optional<std::string> PageFrameName(const std::filesystem::path& page);

/// The other name offered for a page when the folder's page plays another picture's frames:
/// "cat_animate.htm".
std::string OwnPageName(std::string_view sourcePath);

struct ExportResult {
  std::filesystem::path pagePath;
  /// The page written, or why not: the cause, and for the user what failed, the path and the
  /// reason.
  base::Status status;
  /// Both viewer files copied, or the cause of the first that was not and, for the user, each
  /// that was not with its reason ("vorrel.js (...)"), joined by "、".
  base::Status viewers;
};

/// Copies the viewer files (applet and script) from the program's sample folder beside the
/// source picture, each replacing an older copy in one step; a copy that fails does not stop
/// the page, which is still of use, and is told in `viewers`. Then writes the page in one
/// step: a page that cannot be written leaves no partial file and is reported.
ExportResult ExportPage(const ExportRequest& request);

}  // namespace kinetta::exporter
