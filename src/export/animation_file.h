// One animation file from the frame files: an animated GIF (plays everywhere), an animated
// WebP (lossless and every pixel exact, or lossy) or APNG (every pixel exact), an MP4 video
// (small; what sites and chat apps take) or a WebM video (small, and keeps transparency in
// browsers). The frames come through a reader, so this part needs no picture library; the file
// is written to a temporary name and put in place in one step.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "image/frame_reader.h"
#include "render/scaling.h"
#include "render/surface.h"

namespace kinetta::exporter {

enum class AnimationFormat { Gif, WebP, Mp4, Apng, WebM };

/// ".gif", ".webp", ".mp4", ".png" or ".webm".
std::string_view AnimationExtension(AnimationFormat format);

/// The file the save dialog proposes: the frames' base name (the source path up to the file
/// name's first point) with the format's extension, beside the frames; "_anim" is added to the
/// base name when that would be the source picture itself (cat.png and APNG).
std::filesystem::path DefaultAnimationPath(std::string_view sourcePath, AnimationFormat format);

/// How long each frame shows, in each format's own unit.
struct AnimationDelay {
  int gifCentiseconds = 20;    ///< GIF: hundredths of a second
  int webpMilliseconds = 200;  ///< WebP, APNG, MP4 and WebM: milliseconds
};

/// Browsers show a GIF frame of less than two hundredths for a tenth of a second, so no frame
/// is shorter than this; the WebP gets the same floor so both files play alike.
inline constexpr int kMinGifCentiseconds = 2;
inline constexpr int kMinWebpMilliseconds = 20;

/// Reads the seconds per frame with the HTML page's rules (a decimal number from 0 to 32.767,
/// blanks around it allowed, full-width digits taken as digits) and turns them into each
/// format's unit, halves to even, with the floors above. Refused text gives the page's message.
base::Result<AnimationDelay> ReadAnimationTime(std::string_view text);

using image::FrameReader;

/// Progress while the file is made. The frames are read twice: first to count them and to
/// learn their colours (`total` is 0 then, `done` counts the frames read), then to encode
/// (`done` of `total`).
using AnimationProgress = std::function<void(int done, int total)>;

enum class AnimationStatus {
  Written,   ///< the file is in place
  NoFrames,  ///< frame 00 cannot be loaded: Cause::NotFound, base::kNoFramesMessage
  Aborted,   ///< the abort flag was set (Cause::Aborted); no file was written or changed
  Failed,    ///< the status says what and why; no file was written or changed
};

struct AnimationResult {
  AnimationStatus outcome = AnimationStatus::Failed;
  int frames = 0;  ///< frames in the file
  int width = 0;   ///< the canvas size, as the file holds it
  int height = 0;
  bool withinLevel = false;  ///< MP4: made smaller to stay within H.264 level 5.1
  /// Ok when Written; else the cause and, for the user, the message (none for Aborted).
  base::Status status;
  /// A sticker written: what it was measured to be, for the user; empty for the others.
  std::string summary;
};

/// Refuses an animation file that would replace the source picture at `sourcePath` or one of its
/// frame files (the same file by any path, a link among them), with Cause::WouldReplace and the
/// message for the user; checked before anything is written.
base::Status CheckAnimationTarget(const std::filesystem::path& target, std::string_view sourcePath);

struct AnimationRequest {
  AnimationFormat format = AnimationFormat::Gif;
  AnimationDelay delay;
  std::filesystem::path target;
  const std::atomic<bool>* abort = nullptr;  ///< checked between frames; may be null
  AnimationProgress progress;                ///< may be empty
  /// The most memory the file may take, in bytes; 0 = what the machine has available.
  std::uint64_t memoryBudget = 0;
  /// MP4: the colour the frames are laid over when they have transparency, and of the column
  /// or row added to a frame with an odd side (the run's background); without it, black
  /// under transparency and the frame's edge repeated.
  std::optional<render::Colour> background;
  /// GIF: the colour partly transparent pixels are laid over (the page's colour); without it
  /// they keep their own colour. Either way a pixel at least half opaque is shown opaque, the
  /// others clear.
  std::optional<render::Colour> matte;
  /// WebP: lossy at this quality (1 to 100); without it lossless.
  std::optional<int> webpQuality;
  /// The longest side of the file's frames (kMinAnimationSide to kMaxAnimationSide): larger
  /// frames are scaled down to it as they are read, their proportions kept; 0 keeps the
  /// frames' own size.
  int maxSide = 0;
};

/// The lowest and highest longest side a file's frames may be given.
inline constexpr int kMinAnimationSide = 16;
inline constexpr int kMaxAnimationSide = 16384;

/// The longest sides offered for a file's frames, besides their own size.
inline constexpr int kOfferedAnimationSides[] = {3840, 1920, 1280, 720, 480};

/// H.264 level 5.1, which phones, browsers and chat apps play: at most 36864 macroblocks of
/// 16 x 16 pixels a frame and 983040 a second, and no side over the square root of 8 x 36864
/// macroblocks.
inline constexpr int kLevel51Macroblocks = 36864;
inline constexpr int kLevel51MacroblocksPerSecond = 983040;
inline constexpr int kLevel51SideMacroblocks = 543;

/// The size of the file's frames for frames of `width` x `height` shown `delayMilliseconds`
/// each: the longer side at most `maxSide` (0: no limit), and for an MP4 the largest size
/// within level 5.1 with the proportions kept and even sides. `withinLevel` says whether the
/// level made it smaller.
struct AnimationSize {
  int width = 0;
  int height = 0;
  bool withinLevel = false;
};
AnimationSize PlanAnimationSize(AnimationFormat format, int width, int height, int maxSide,
                                int delayMilliseconds);

/// The largest size within level 5.1 for frames of `width` x `height` shown
/// `delayMilliseconds` each, their proportions kept and both sides even; their own size when
/// it fits (an odd side counted as the MP4 pads it, one more).
render::ScaledSize WithinLevel51(int width, int height, int delayMilliseconds);

/// The lowest and highest WebP quality of a lossy file.
inline constexpr int kMinWebpQuality = 1;
inline constexpr int kMaxWebpQuality = 100;

/// About how many bytes a file of `frames` frames of `width` x `height` takes in `format` (a
/// lossy WebP at `webpQuality` when it is given), for the user to choose a size by; a file of a
/// photo's frames comes near it, a drawing's is smaller.
std::uint64_t EstimateAnimationBytes(AnimationFormat format, int width, int height, int frames,
                                     std::optional<int> webpQuality);

/// Reads the frames 0, 1, ... up to the first that cannot be loaded and writes them as one
/// looping animation at `request.target`. An existing file there is replaced only when the
/// new one is complete.
AnimationResult WriteAnimation(const FrameReader& frames, const AnimationRequest& request);

}  // namespace kinetta::exporter
