// kinetta-render's command line: the options, their values and the pictures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "base/settings.h"
#include "export/animation_file.h"
#include "export/sticker_targets.h"

namespace kinetta::cli {

/// A file to check against a sticker target, or to make for one.
struct StickerCheckRequest {
  const exporter::StickerTarget* target = nullptr;
  std::string file;
};

struct CliOptions {
  std::optional<int> shape;
  std::optional<int> widthMode;
  std::optional<int> width;
  std::optional<render::Colour> background;
  std::optional<bool> transparent;  ///< --background transparent, or a colour (false)
  std::optional<base::FrameFormat> frameFormat;
  std::optional<int> frames;
  std::optional<int> shade;
  std::optional<std::uint64_t> seed;
  std::optional<int> htmlMs;       ///< --html: write the page with this frame time (milliseconds)
  std::string gifPath;             ///< --gif: write an animated GIF here after the run
  std::string webpPath;            ///< --webp: write an animated WebP here after the run
  std::string mp4Path;             ///< --mp4: write an MP4 video here after the run
  std::string apngPath;            ///< --apng: write an animated PNG here after the run
  std::string webmPath;            ///< --webm: write a WebM video here after the run
  exporter::AnimationDelay delay;  ///< --delay: seconds per frame of those files (0.2)
  std::optional<render::Colour> matte;  ///< --matte: the GIF's partly transparent pixels on it
  std::optional<int> webpQuality;       ///< --webp-quality: a lossy WebP at this quality
  std::optional<int> maxSide;  ///< --max-side: the animation files' longest side at most this
  std::optional<std::uint64_t> maxMemoryMiB;  ///< --max-memory: the most a run may hold
  /// --output: the folder for the frames, the page and the animation files named without a
  /// folder, instead of each picture's own folder ("" for that).
  std::string outputDir;
  bool quiet = false;  ///< --quiet: no progress line, notes of time, or lines of what was written
  std::vector<std::string> sources;  ///< the pictures, rendered in turn
  /// --check-sticker TARGET FILE: files checked against a target's rules, after the pictures.
  std::vector<StickerCheckRequest> stickerChecks;
  /// --sticker TARGET FILE: files fitted to a target after each run; FILE as --gif's.
  std::vector<StickerCheckRequest> stickers;
};

/// An animation file option: its name, the format it writes and the member that holds its FILE.
struct AnimationOption {
  std::string_view name;
  exporter::AnimationFormat format;
  std::string CliOptions::*file;
};

/// The animation file options, in the order their files are written after a run.
inline constexpr std::array<AnimationOption, 5> kAnimationOptions = {{
    {"--gif", exporter::AnimationFormat::Gif, &CliOptions::gifPath},
    {"--webp", exporter::AnimationFormat::WebP, &CliOptions::webpPath},
    {"--mp4", exporter::AnimationFormat::Mp4, &CliOptions::mp4Path},
    {"--apng", exporter::AnimationFormat::Apng, &CliOptions::apngPath},
    {"--webm", exporter::AnimationFormat::WebM, &CliOptions::webmPath},
}};

enum class ParseOutcome { Run, Help, Version, Error };

struct ParsedArguments {
  ParseOutcome outcome = ParseOutcome::Error;
  CliOptions options;  ///< the options read, for Run
  /// For Error, what was wrong (Cause::BadArgument); ok otherwise.
  base::Status status;
};

/// Reads the arguments (without the program name). Pictures are needed unless a file is to be
/// checked.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

/// `pattern` with each %s replaced by `stem` (a picture's name up to its first point) and each
/// %% by %; any other % stays as it is.
std::string ExpandPlaceholder(std::string_view pattern, std::string_view stem);

/// Whether `pattern` holds a %s that ExpandPlaceholder replaces.
bool HasPlaceholder(std::string_view pattern);

/// `base` (from mivet.ini or the defaults) with every option that was given put over it; without
/// --background, a sticker shown over the chat (ClearBackgroundByDefault) makes it clear.
base::Settings ApplyOptions(base::Settings base, const CliOptions& options);

/// A shape given as 0..8 or by name (plane, disk, sphere, cylinder, flag, water, flip, cutout,
/// fadein).
std::optional<int> ParseShape(const std::string& text);

/// A colour given as the packed decimal number (red + 256 x green + 65536 x blue) or #RRGGBB.
std::optional<render::Colour> ParseColour(const std::string& text);

/// The frame files' format: auto, bmp or png.
std::optional<base::FrameFormat> ParseFrameFormat(const std::string& text);

}  // namespace kinetta::cli
