// The HTML page writer: its lines, the frame time rule and the export into the source folder.
#include "export/html_page.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/number_text.h"
#include "base/path_helpers.h"
#include "base/text_lookup.h"
#include "export/export_messages.h"

namespace kinetta::exporter {

namespace {

using base::NumberText;

std::string Param(std::string_view name, std::string_view value) {
  return "<param NAME='" + std::string(name) + "' value='" + std::string(value) + "'>";
}

// Length of the UTF-8 sequence starting with `lead`, or 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The code point of the well-formed sequence of `len` bytes at `p`, or -1.
long CodePoint(const unsigned char* p, std::size_t len) {
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr long kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  long cp = p[0] & kLeadMask[len];
  for (std::size_t i = 1; i < len; ++i) {
    if ((p[i] & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

}  // namespace

std::string AttributeText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data() + i);
    switch (p[0]) {
      case '&':
        out += "&amp;";
        ++i;
        continue;
      case '\'':
        out += "&#39;";
        ++i;
        continue;
      case '"':
        out += "&quot;";
        ++i;
        continue;
      case '<':
        out += "&lt;";
        ++i;
        continue;
      case '>':
        out += "&gt;";
        ++i;
        continue;
      default:
        break;
    }
    const std::size_t len = SequenceLength(p[0]);
    const long cp = len > 1 && i + len <= text.size() ? CodePoint(p, len) : -1;
    if (cp >= 0) {
      out += "&#" + std::to_string(cp) + ";";
      i += len;
    } else {
      // ASCII, or a byte of a name that is no UTF-8: passed on as it stands.
      out += text[i++];
    }
  }
  return out;
}

std::vector<std::string> PageLines(const PageContent& c) {
  const std::string time = NumberText(c.frameTimeMs);
  return {
      "<html>",
      "<head>",
      "<title>Animation</title>",
      "</head>",
      "<body>",
      "<H2>Animation</H2><BR>",
      "<applet code='" + std::string(kAppletFileName) + "' width=" + NumberText(c.canvasWidth) +
          " height=" + NumberText(c.canvasHeight) + ">",
      // Plays the frames where the browser runs no applet.
      "<script src='" + std::string(kScriptFileName) + "'></script>",
      Param("Count", NumberText(static_cast<long long>(c.frameCount) - 1)),
      Param("File1", AttributeText(c.file1)),
      Param("File2", AttributeText(c.file2)),
      Param("Time0", time),
      Param("Time1", time),
      Param("Time9", time),
      "</applet><BR><BR>",
      "<HR><I>Presented by <A HREF=\"" + std::string(kSiteAddress) + "\" TARGET=\"_top\">" +
          std::string(kSiteTitle) + "</A></I>",
      "</body>",
      "</html>",
  };
}

std::string FrameExtensionOf(const base::Settings& s) {
  const bool png = s.FrameFiles == base::FrameFormat::Png ||
                   (s.FrameFiles == base::FrameFormat::Auto && s.TransparentBack);
  return png ? "png" : "bmp";
}

std::string PageText(const PageContent& content) {
  std::string text;
  for (const std::string& line : PageLines(content)) {
    text += line;
    text += "\r\n";
  }
  return text;
}

base::Result<FrameTime> ReadFrameTime(std::string_view text) {
  using Read = base::Result<FrameTime>;
  const std::optional<double> seconds = base::WholeNumber(text);
  if (!seconds) return Read::Failed(base::Cause::BadArgument, base::Text(base::kNotANumberMessage));
  // 32.767 compares with the same double the text "32.767" reads as, so it passes.
  if (*seconds < 0 || *seconds > 32.767) {
    return Read::Failed(base::Cause::BadArgument, base::Text(base::kTimeRangeMessage));
  }
  const std::optional<int> ms = base::ToInt16(*seconds * 1000);
  if (!ms) return Read::Failed(base::Cause::BadArgument, base::Text(base::kTimeRangeMessage));
  return FrameTime{*ms, *seconds};
}

std::filesystem::path BesideSource(std::string_view sourcePath, std::string_view name) {
  std::string folder, file;
  base::SplitPath(sourcePath, folder, file);
  if (sourcePath.find(base::kSeparator) == std::string_view::npos) {
    return std::filesystem::path(name);
  }
  return std::filesystem::path(folder + base::kSeparator + std::string(name));
}

std::optional<std::string> PageFrameName(const std::filesystem::path& page) {
  std::ifstream in(page, std::ios::binary);
  if (!in) return std::nullopt;
  // The parameter stands on a line of its own near the top; a page is a few hundred bytes, and
  // no more than this is read of a file that is something else.
  const std::string opening = "<param NAME='File1' value='";
  std::string line;
  for (int i = 0; i < 64 && std::getline(in, line); ++i) {
    const std::size_t at = line.find(opening);
    if (at == std::string::npos) continue;
    const std::size_t from = at + opening.size();
    const std::size_t to = line.find('\'', from);
    if (to == std::string::npos) return std::nullopt;
    return line.substr(from, to - from);
  }
  return std::nullopt;
}

std::string OwnPageName(std::string_view sourcePath) {
  return base::FrameFileStem(sourcePath) + "_" + std::string(kPageFileName);
}

namespace {

// Copies the sample file `from` to `to`, replacing `to` in one step: a copy that fails half way
// leaves the older copy as it was.
base::Status CopyInOneStep(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(from, error)) {
    return std::filesystem::exists(from, error)
               ? base::Status::Failed(base::Cause::Unsupported,
                                      base::Text(base::kNotARegularFileReason))
               : base::Status::Failed(base::Cause::NotFound, base::Text(kSampleMissingReason));
  }
  std::ifstream in(from, std::ios::binary);
  if (!in) return base::Status::Failed(base::Cause::Io, base::Text(kSampleUnreadableReason));
  return base::WriteFileAtomically(to, [&](const base::Writer& write) {
    char buffer[65536];
    while (in) {
      in.read(buffer, sizeof buffer);
      if (in.gcount() > 0) {
        if (base::Status written = write(buffer, static_cast<std::size_t>(in.gcount()));
            !written.ok()) {
          return written;
        }
      }
    }
    return in.bad() ? base::Status::Failed(base::Cause::Io, base::Text(kSampleUnreadableReason))
                    : base::Status::Ok();
  });
}

}  // namespace

ExportResult ExportPage(const ExportRequest& r) {
  const std::filesystem::path sample =
      std::filesystem::path(r.appFolder) / std::string(kSampleFolder);
  ExportResult result;
  for (std::string_view viewer : {kAppletFileName, kScriptFileName}) {
    const base::Status copied =
        CopyInOneStep(sample / std::string(viewer), BesideSource(r.sourcePath, viewer));
    if (!copied.ok()) {
      // The first failure's cause stands for both.
      result.viewers = base::Status::Failed(
          result.viewers.ok() ? copied.cause() : result.viewers.cause(),
          AddViewerFailure(result.viewers.message(), viewer, copied.message()));
    }
  }

  result.pagePath = BesideSource(r.sourcePath, r.pageName);
  PageContent content{r.canvasWidth, r.canvasHeight, r.frameCount,
                      base::FrameFileStem(r.sourcePath), r.frameTimeMs};
  content.file2 = r.frameExtension;
  const std::string text = PageText(content);
  const base::Status written = base::WriteFileAtomically(result.pagePath, text.data(), text.size());
  if (!written.ok()) {
    result.status = base::Status::Failed(
        written.cause(), PageFailedMessage(result.pagePath.string(), written.message()));
  }
  return result;
}

}  // namespace kinetta::exporter
