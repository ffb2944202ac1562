// Parsing kinetta-render's options.
#include "cli/cli_options.h"

#include <charconv>
#include <utility>

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
  return "usage: kinetta-render [--shape N] [--width-mode M] [--width PX] [--background COLOR]\n"
         "                      [--frames N] [--shade 0|1] [--seed S] [--html SECONDS]\n"
         "                      [--gif FILE] [--webp FILE] [--mp4 FILE] [--apng FILE]\n"
         "                      [--delay SECONDS] [--max-memory MIB] SOURCE\n"
         "\n"
         "Renders the frames of one motion beside SOURCE as SOURCE's name up to its first point,\n"
         "a two-digit (or longer) frame number and .bmp, exactly as the desktop program does.\n"
         "\n"
         "  --shape N          0-8 or plane, disk, sphere, cylinder, flag, water, flip, cutout, fadein\n"
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
         "  --help             this text\n"
         "\n"
         "Options not given come from mivet.ini in the program folder, or the defaults.\n"
         "Exit status: 0 all frames written, 1 picture unreadable or frame, page or animation\n"
         "file not written, 2 bad option, 130 interrupted.\n";
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments parsed;
  CliOptions& out = parsed.options;
  auto refuse = [&](std::string error) {
    parsed.outcome = ParseOutcome::Error;
    parsed.error = std::move(error);
    return parsed;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      parsed.outcome = ParseOutcome::Help;
      return parsed;
    }
    if (a.rfind("--", 0) != 0 || a == "--") {
      if (a == "--" && i + 2 == args.size()) {
        out.source = args[i + 1];
        break;
      }
      if (a == "--" || !out.source.empty()) return refuse("only one SOURCE picture may be given");
      out.source = a;
      continue;
    }
    // Every option takes a value, as the next argument or after '='.
    std::string name = a, value;
    if (const std::size_t eq = a.find('='); eq != std::string::npos) {
      name = a.substr(0, eq);
      value = a.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return refuse(name + " needs a value");
    }
    auto bad = [&] { return refuse("bad value for " + name + ": '" + value + "'"); };
    if (name == "--shape") {
      if (!(out.shape = ParseShape(value))) return bad();
    } else if (name == "--width-mode") {
      if (!(out.widthMode = ParseInteger<int>(value, 0, 2))) return bad();
    } else if (name == "--width") {
      if (!(out.width = ParseInteger<int>(value, 1, 32767))) return bad();
    } else if (name == "--background") {
      if (!(out.background = ParseColour(value))) return bad();
    } else if (name == "--frames") {
      if (!(out.frames = ParseInteger<int>(value, 0, 32767))) return bad();
    } else if (name == "--shade") {
      if (!(out.shade = ParseInteger<int>(value, 0, 1))) return bad();
    } else if (name == "--seed") {
      if (!(out.seed = ParseInteger<std::uint64_t>(value, 0, UINT64_MAX))) return bad();
    } else if (name == "--html") {
      const base::Result<exporter::FrameTime> time = exporter::ReadFrameTime(value);
      if (!time.ok()) {
        return refuse("bad value for --html: '" + value + "' (" + time.message() + ")");
      }
      out.htmlMs = time.value().ms;
    } else if (name == "--gif" || name == "--webp" || name == "--mp4" || name == "--apng") {
      if (value.empty()) return bad();
      (name == "--gif"    ? out.gifPath
       : name == "--webp" ? out.webpPath
       : name == "--mp4"  ? out.mp4Path
                          : out.apngPath) = value;
    } else if (name == "--max-memory") {
      if (!(out.maxMemoryMiB = ParseInteger<std::uint64_t>(value, 1, UINT64_MAX >> 20))) {
        return bad();
      }
    } else if (name == "--delay") {
      const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(value);
      if (!delay.ok()) {
        return refuse("bad value for --delay: '" + value + "' (" + delay.message() + ")");
      }
      out.delay = delay.value();
    } else {
      return refuse("unknown option " + name);
    }
  }
  if (out.source.empty()) return refuse("no SOURCE picture given");
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
