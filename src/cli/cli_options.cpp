// Parsing kinetta-render's options and pictures.
#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "base/text_lookup.h"
#include "cli/cli_messages.h"
#include "export/export_messages.h"
#include "export/html_page.h"
#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::cli {

namespace {

template <typename T>
std::optional<T> ParseInteger(const std::string& text, T min, T max) {
  T value{};
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || p != end || value < min || value > max) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ParseShape(const std::string& text) {
  if (auto index = ParseInteger<int>(text, 0, 8)) return index;
  if (const render::Motion* m = render::FindMotionById(text)) return static_cast<int>(m->shape);
  return std::nullopt;
}

std::optional<render::Colour> ParseColour(const std::string& text) {
  if (text.size() == 7 && text[0] == '#') {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data() + 1, end, value, 16);
    if (ec != std::errc() || p != end) return std::nullopt;
    const int r = static_cast<int>((value >> 16) & 0xFF);
    const int g = static_cast<int>((value >> 8) & 0xFF);
    const int b = static_cast<int>(value & 0xFF);
    return render::Compose(r, g, b);
  }
  return ParseInteger<render::Colour>(text, 0, 0xFFFFFF);
}

std::optional<base::FrameFormat> ParseFrameFormat(const std::string& text) {
  if (text == "auto") return base::FrameFormat::Auto;
  if (text == "bmp") return base::FrameFormat::Bmp;
  if (text == "png") return base::FrameFormat::Png;
  return std::nullopt;
}

std::string ExpandPlaceholder(std::string_view pattern, std::string_view stem) {
  std::string expanded;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      expanded += stem;
      ++i;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
      expanded += '%';
      ++i;
    } else {
      expanded += pattern[i];
    }
  }
  return expanded;
}

bool HasPlaceholder(std::string_view pattern) {
  return ExpandPlaceholder(pattern, "a") != ExpandPlaceholder(pattern, "b");
}

namespace {

// The options that take a value, as the next argument or after '='.
constexpr std::string_view kValueOptions[] = {
    "--shape",  "--width-mode", "--width",        "--background",   "--frames",
    "--shade",  "--seed",       "--html",         "--gif",          "--webp",
    "--mp4",    "--apng",       "--webm",         "--delay",        "--max-memory",
    "--output", "--matte",      "--webp-quality", "--frame-format", "--max-side"};

bool TakesValue(std::string_view name) {
  for (std::string_view known : kValueOptions) {
    if (name == known) return true;
  }
  return false;
}

// Puts `value` in place for the option `name`, which takes a value, or says why it does not fit.
base::Status ReadValue(const std::string& name, const std::string& value, CliOptions& out) {
  const base::Status bad =
      base::Status::Failed(base::Cause::BadArgument, BadValueMessage(name, value));
  if (name == "--shape") {
    if (!(out.shape = ParseShape(value))) return bad;
  } else if (name == "--width-mode") {
    if (!(out.widthMode = ParseInteger<int>(value, 0, 2))) return bad;
  } else if (name == "--width") {
    if (!(out.width = ParseInteger<int>(value, 1, 32767))) return bad;
  } else if (name == "--background") {
    // A colour ends a transparent background given before it; "transparent" keeps the colour.
    if (value == "transparent") {
      out.transparent = true;
    } else {
      if (!(out.background = ParseColour(value))) return bad;
      out.transparent = false;
    }
  } else if (name == "--frame-format") {
    if (!(out.frameFormat = ParseFrameFormat(value))) return bad;
  } else if (name == "--frames") {
    if (!(out.frames = ParseInteger<int>(value, 1, 32767))) return bad;
  } else if (name == "--shade") {
    if (!(out.shade = ParseInteger<int>(value, 0, 1))) return bad;
  } else if (name == "--seed") {
    if (!(out.seed = ParseInteger<std::uint64_t>(value, 0, UINT64_MAX))) return bad;
  } else if (name == "--html") {
    const base::Result<exporter::FrameTime> time = exporter::ReadFrameTime(value);
    if (!time.ok()) {
      return base::Status::Failed(base::Cause::BadArgument,
                                  BadValueMessage(name, value, time.message()));
    }
    out.htmlMs = time.value().ms;
  } else if (name == "--matte") {
    if (!(out.matte = ParseColour(value))) return bad;
  } else if (name == "--webp-quality") {
    if (!(out.webpQuality =
              ParseInteger<int>(value, exporter::kMinWebpQuality, exporter::kMaxWebpQuality))) {
      return bad;
    }
  } else if (name == "--max-side") {
    if (!(out.maxSide =
              ParseInteger<int>(value, exporter::kMinAnimationSide, exporter::kMaxAnimationSide))) {
      return bad;
    }
  } else if (name == "--output") {
    if (value.empty()) return bad;
    out.outputDir = value;
  } else if (name == "--max-memory") {
    if (!(out.maxMemoryMiB = ParseInteger<std::uint64_t>(value, 1, UINT64_MAX >> 20))) return bad;
  } else if (name == "--delay") {
    const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(value);
    if (!delay.ok()) {
      return base::Status::Failed(base::Cause::BadArgument,
                                  BadValueMessage(name, value, delay.message()));
    }
    out.delay = delay.value();
  } else {
    for (const AnimationOption& option : kAnimationOptions) {
      if (name != option.name) continue;
      if (value.empty()) return bad;
      out.*option.file = value;
    }
  }
  return base::Status::Ok();
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  CliOptions& out = parsed.options;
  auto refuse = [&](base::Status error) {
    parsed.outcome = ParseOutcome::Error;
    parsed.status = std::move(error);
    return parsed;
  };
  auto refuseWith = [&](const std::string& message) {
    return refuse(base::Status::Failed(base::Cause::BadArgument, message));
  };
  bool onlyPictures = false;  // after "--" every argument is a picture, even one starting with -
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (onlyPictures || a.size() < 2 || a[0] != '-') {  // "-" alone is a picture's name too
      out.sources.push_back(a);
      continue;
    }
    if (a == "--") {
      onlyPictures = true;
      continue;
    }
    // --name, --name=value, -h, -q, -o DIR and -oDIR.
    std::string name = a, value;
    bool valueGiven = false;
    if (a.starts_with("--")) {
      if (const std::size_t eq = a.find('='); eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        valueGiven = true;
      }
    } else if (a == "-h" || a == "-q") {
      name = a == "-h" ? "--help" : "--quiet";
    } else if (a.starts_with("-o")) {
      name = "--output";
      if (a.size() > 2) {
        value = a.substr(2);
        valueGiven = true;
      }
    } else {
      return refuseWith(UnknownOptionMessage(a));
    }
    if (name == "--help" || name == "--version" || name == "--quiet") {
      if (valueGiven) return refuseWith(TakesNoValueMessage(name));
      if (name == "--quiet") {
        out.quiet = true;
        continue;
      }
      parsed.outcome = name == "--help" ? ParseOutcome::Help : ParseOutcome::Version;
      return parsed;
    }
    if (name == "--check-sticker" || name == "--sticker") {
      // Two values: the target (the next argument, or after '='), then the file.
      if (!valueGiven) {
        if (i + 1 == args.size()) return refuseWith(NeedsValueMessage(name));
        value = args[++i];
      }
      const exporter::StickerTarget* target = exporter::FindStickerTarget(value);
      if (target == nullptr) {
        return refuseWith(BadValueMessage(name, value, StickerTargetNamesReason()));
      }
      if (i + 1 == args.size() || args[i + 1].empty()) {
        return refuseWith(NeedsFileMessage(name));
      }
      (name == "--sticker" ? out.stickers : out.stickerChecks).push_back({target, args[++i]});
      continue;
    }
    if (!TakesValue(name)) return refuseWith(UnknownOptionMessage(name));
    if (!valueGiven) {
      if (i + 1 == args.size()) return refuseWith(NeedsValueMessage(name));
      value = args[++i];
    }
    if (base::Status read = ReadValue(name, value, out); !read.ok()) return refuse(std::move(read));
  }
  if (out.sources.empty() && out.stickerChecks.empty()) {
    return refuseWith(base::Text(kNoPictureMessage));
  }
  parsed.outcome = ParseOutcome::Run;
  return parsed;
}

base::Settings ApplyOptions(base::Settings s, const CliOptions& o) {
  if (o.shape) s.ShapeIndex = *o.shape;
  if (o.widthMode) s.WidthMode = *o.widthMode;
  if (o.width) s.WidthValue = *o.width;
  if (o.background) s.BackColor = *o.background;
  if (o.transparent) {
    s.TransparentBack = *o.transparent;
  } else if (std::any_of(o.stickers.begin(), o.stickers.end(), [](const StickerCheckRequest& r) {
               return exporter::ClearBackgroundByDefault(*r.target);
             })) {
    // A sticker that is shown over the chat: the run's background is clear unless a colour was
    // asked for.
    s.TransparentBack = true;
  }
  if (o.frameFormat) s.FrameFiles = *o.frameFormat;
  if (o.frames) s.FrameCount = *o.frames;
  if (o.shade) s.Shade3D = *o.shade;
  return s;
}

}  // namespace kinetta::cli
