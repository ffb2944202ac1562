// Parsing kinetta-render's options and pictures, and the texts of --help and --version.
#include "cli/cli_options.h"

#include <charconv>
#include <utility>

#include "base/version.h"
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

std::string UsageText() {
  return "usage: kinetta-render [OPTION]... PICTURE...\n"
         "\n"
         "Renders the frames of one motion for each PICTURE in turn, with the same options, "
         "beside\n"
         "the picture (or in --output DIR) as its name up to the first point, a two-digit (or\n"
         "longer) frame number and .bmp, exactly as the desktop program does.\n"
         "\n"
         "  --shape N          0-8 or plane, disk, sphere, cylinder, flag, water, flip, cutout, "
         "fadein\n"
         "  --width-mode M     0 frames as wide as the source, 1 as its height, 2 --width pixels\n"
         "  --width PX         frame width for width mode 2 (1-32767)\n"
         "  --background COLOR packed decimal red + 256*green + 65536*blue, or #RRGGBB\n"
         "  --frames N         number of frames (0-32767)\n"
         "  --shade 0|1        the motion's switch: shading, water tint or dot mode\n"
         "  --seed S           makes the fade-in's dots repeatable\n"
         "  --html SECONDS     after the run, also write animate.htm beside the frames, showing\n"
         "                     each frame SECONDS (0-32.767), with the viewer files vorrel.class\n"
         "                     and vorrel.js from the program's sample folder\n"
         "  --gif FILE         after the run, also write the frames as a looping animated GIF\n"
         "  --webp FILE        after the run, also write them as a looping lossless WebP\n"
         "  --mp4 FILE         after the run, also write them as an H.264 MP4 video (an odd\n"
         "                     width or height gets one column or row of the background)\n"
         "  --apng FILE        after the run, also write them as a looping lossless APNG (.png)\n"
         "  --delay SECONDS    how long those files show each frame (0-32.767; default 0.2)\n"
         "  --max-memory MIB   refuse a run or animation file that would need more memory\n"
         "                     (default: the memory the machine has available)\n"
         "  -o, --output DIR   write the frames, the page and each FILE given without a folder\n"
         "                     in DIR (made when missing) instead of beside the picture\n"
         "  -q, --quiet        no progress line and no report of what was written\n"
         "  -h, --help         this text\n"
         "  --version          the program's name and version\n"
         "\n"
         "In FILE and DIR, %s stands for the picture's name up to its first point (%% for %).\n"
         "Two pictures may not write the same file: with several pictures, give each its own\n"
         "animation file (--gif '%s.gif') and page folder (--output 'pages/%s').\n"
         "Options not given come from mivet.ini in the program folder, or the defaults.\n"
         "Exit status: 0 every picture done, 1 a picture unreadable or a frame, page or animation\n"
         "file not written, 2 bad option, 130 interrupted (the pictures finished stay).\n";
}

std::string VersionText() {
  return std::string("kinetta-render (") + KINETTA_NAME + ") " + KINETTA_VERSION + "\n";
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
constexpr std::string_view kValueOptions[] = {"--shape",  "--width-mode", "--width", "--background",
                                              "--frames", "--shade",      "--seed",  "--html",
                                              "--gif",    "--webp",       "--mp4",   "--apng",
                                              "--delay",  "--max-memory", "--output"};

bool TakesValue(std::string_view name) {
  for (std::string_view known : kValueOptions) {
    if (name == known) return true;
  }
  return false;
}

// Puts `value` in place for the option `name`, which takes a value; "" when it fits, else why not.
std::string ReadValue(const std::string& name, const std::string& value, CliOptions& out) {
  const std::string bad = "bad value for " + name + ": '" + value + "'";
  if (name == "--shape") {
    if (!(out.shape = ParseShape(value))) return bad;
  } else if (name == "--width-mode") {
    if (!(out.widthMode = ParseInteger<int>(value, 0, 2))) return bad;
  } else if (name == "--width") {
    if (!(out.width = ParseInteger<int>(value, 1, 32767))) return bad;
  } else if (name == "--background") {
    if (!(out.background = ParseColour(value))) return bad;
  } else if (name == "--frames") {
    if (!(out.frames = ParseInteger<int>(value, 0, 32767))) return bad;
  } else if (name == "--shade") {
    if (!(out.shade = ParseInteger<int>(value, 0, 1))) return bad;
  } else if (name == "--seed") {
    if (!(out.seed = ParseInteger<std::uint64_t>(value, 0, UINT64_MAX))) return bad;
  } else if (name == "--html") {
    const base::Result<exporter::FrameTime> time = exporter::ReadFrameTime(value);
    if (!time.ok()) return bad + " (" + time.message() + ")";
    out.htmlMs = time.value().ms;
  } else if (name == "--output") {
    if (value.empty()) return bad;
    out.outputDir = value;
  } else if (name == "--max-memory") {
    if (!(out.maxMemoryMiB = ParseInteger<std::uint64_t>(value, 1, UINT64_MAX >> 20))) return bad;
  } else if (name == "--delay") {
    const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(value);
    if (!delay.ok()) return bad + " (" + delay.message() + ")";
    out.delay = delay.value();
  } else {
    for (const AnimationOption& option : kAnimationOptions) {
      if (name != option.name) continue;
      if (value.empty()) return bad;
      out.*option.file = value;
    }
  }
  return {};
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  CliOptions& out = parsed.options;
  auto refuse = [&](std::string error) {
    parsed.outcome = ParseOutcome::Error;
    parsed.error = std::move(error);
    return parsed;
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
      return refuse("unknown option '" + a + "'");
    }
    if (name == "--help" || name == "--version" || name == "--quiet") {
      if (valueGiven) return refuse("option '" + name + "' takes no value");
      if (name == "--quiet") {
        out.quiet = true;
        continue;
      }
      parsed.outcome = name == "--help" ? ParseOutcome::Help : ParseOutcome::Version;
      return parsed;
    }
    if (!TakesValue(name)) return refuse("unknown option '" + name + "'");
    if (!valueGiven) {
      if (i + 1 == args.size()) return refuse("option '" + name + "' needs a value");
      value = args[++i];
    }
    if (std::string error = ReadValue(name, value, out); !error.empty()) return refuse(error);
  }
  if (out.sources.empty()) return refuse("no PICTURE given");
  parsed.outcome = ParseOutcome::Run;
  return parsed;
}

base::Settings ApplyOptions(base::Settings s, const CliOptions& o) {
  if (o.shape) s.ShapeIndex = *o.shape;
  if (o.widthMode) s.WidthMode = *o.widthMode;
  if (o.width) s.WidthValue = *o.width;
  if (o.background) s.BackColor = *o.background;
  if (o.frames) s.FrameCount = *o.frames;
  if (o.shade) s.Shade3D = *o.shade;
  return s;
}

}  // namespace kinetta::cli
