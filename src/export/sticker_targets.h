// The chat platforms' sticker and emoji files: each target's rules in one table (a new platform
// or a changed limit is one row), and the plan that fits a run's frames to a target: the file's
// size, how many frames, how long each shows and how often the loop plays.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/settings.h"

namespace kinetta::exporter {

enum class StickerTargetId { Line, LineMain, LineTab, Telegram, Discord, DiscordEmoji, Slack };

/// What kind of file a target takes, and what a file was found to be.
enum class StickerContainer { Png, Apng, Gif, WebM, Unknown };

inline constexpr std::uint64_t kKiB = 1024;

/// One target's rules. A limit of 0 is no limit.
struct StickerTarget {
  StickerTargetId id = StickerTargetId::Line;
  std::string_view name;  ///< what the command line calls it
  StickerContainer container = StickerContainer::Unknown;
  std::string_view codec = {};  ///< the video codec the file must hold (libavcodec's name), or ""
  // The picture's size: within maxWidth x maxHeight, at least minWidth x minHeight (equal for
  // a fixed size), and the longer side at least minLongerSide.
  int maxWidth = 0;
  int maxHeight = 0;
  int minWidth = 0;
  int minHeight = 0;
  int minLongerSide = 0;
  int minFrames = 0;
  int maxFrames = 0;
  /// The most plays; a target with this set wants a count of 1 to maxPlays, never "for ever".
  int maxPlays = 0;
  /// The longest the animation may show: plays x one loop, or one loop where the file plays
  /// for ever or has no count of plays.
  int maxMilliseconds = 0;
  int maxFramesPerSecond = 0;
  std::uint64_t maxBytes = 0;
  bool noAudio = false;
  /// A transparent background is wanted: its absence is said but does not fail the file.
  bool wantsTransparency = false;
  bool noGrey = false;  ///< RGB colours: a grey-scale file fails
};

// Kilobytes are 1024 bytes, as the platforms' upload pages count them.
inline constexpr std::array<StickerTarget, 7> kStickerTargets = {{
    {.id = StickerTargetId::Line,
     .name = "line",
     .container = StickerContainer::Apng,
     .maxWidth = 320,
     .maxHeight = 270,
     .minLongerSide = 270,
     .minFrames = 5,
     .maxFrames = 20,
     .maxPlays = 4,
     .maxMilliseconds = 4000,
     .maxBytes = 300 * kKiB,
     .wantsTransparency = true,
     .noGrey = true},
    {.id = StickerTargetId::LineMain,
     .name = "line-main",
     .container = StickerContainer::Apng,
     .maxWidth = 240,
     .maxHeight = 240,
     .minWidth = 240,
     .minHeight = 240,
     .minFrames = 5,
     .maxFrames = 20,
     .maxPlays = 4,
     .maxMilliseconds = 4000,
     .maxBytes = 300 * kKiB,
     .wantsTransparency = true,
     .noGrey = true},
    {.id = StickerTargetId::LineTab,
     .name = "line-tab",
     .container = StickerContainer::Png,
     .maxWidth = 96,
     .maxHeight = 74,
     .minWidth = 96,
     .minHeight = 74,
     .minFrames = 1,
     .maxFrames = 1,
     .maxBytes = 300 * kKiB,
     .wantsTransparency = true,
     .noGrey = true},
    {.id = StickerTargetId::Telegram,
     .name = "telegram",
     .container = StickerContainer::WebM,
     .codec = "vp9",
     .maxWidth = 512,
     .maxHeight = 512,
     .minLongerSide = 512,
     .maxMilliseconds = 3000,
     .maxFramesPerSecond = 30,
     .maxBytes = 256 * kKiB,
     .noAudio = true},
    {.id = StickerTargetId::Discord,
     .name = "discord",
     .container = StickerContainer::Apng,
     .maxWidth = 320,
     .maxHeight = 320,
     .minWidth = 320,
     .minHeight = 320,
     .maxBytes = 512 * kKiB},
    {.id = StickerTargetId::DiscordEmoji,
     .name = "discord-emoji",
     .container = StickerContainer::Gif,
     .maxWidth = 128,
     .maxHeight = 128,
     .maxBytes = 256 * kKiB},
    {.id = StickerTargetId::Slack,
     .name = "slack",
     .container = StickerContainer::Gif,
     .maxWidth = 128,
     .maxHeight = 128,
     .maxFrames = 50,
     .maxBytes = 128 * kKiB},
}};

/// The target of that name, or null.
const StickerTarget* FindStickerTarget(std::string_view name);

/// Whether a run made for the target has a clear background unless asked for a colour: the
/// APNG, PNG and WebM targets, whose files keep every pixel's opacity and are shown over the
/// chat; a GIF's pixel is either opaque or clear, and an emoji's soft edges look better over a
/// colour.
bool ClearBackgroundByDefault(const StickerTarget& target);

/// How a run's frames become a target's file.
struct StickerPlan {
  int width = 0;  ///< the file's picture
  int height = 0;
  /// The frames scaled with their proportions kept, and where they lie in the file's picture;
  /// the rest of it is transparent.
  int pictureWidth = 0;
  int pictureHeight = 0;
  int left = 0;
  int top = 0;
  int frames = 0;   ///< frames in the file, spread evenly through the loop
  int delayMs = 0;  ///< how long each shows
  int plays = 0;    ///< 0 for ever
};

/// The plan for frames of `frameWidth` x `frameHeight`, a loop of `frameCount` frames each shown
/// `delayMs`. The frames are scaled to the target's size (enlarged only where it asks for a
/// side of its own), centred on a fixed size. The loop keeps its length where the target allows
/// it, else is shortened to the longest that fits; its frame count is brought within the
/// target's (and within the rate: at most maxFramesPerSecond, a GIF's 20 ms, a whole number of
/// milliseconds or a GIF's hundredths each); then as many plays as fit, up to the target's
/// most, or for ever where it has none.
StickerPlan PlanSticker(const StickerTarget& target, int frameWidth, int frameHeight,
                        int frameCount, int delayMs);

/// The same for the frames the run of `settings` draws from a `sourceWidth` x `sourceHeight`
/// picture; nothing when the settings name no motion or make no frame.
std::optional<StickerPlan> PlanStickerForRun(const StickerTarget& target,
                                             const base::Settings& settings, int sourceWidth,
                                             int sourceHeight, int delayMs);

/// Which of a loop of `frameCount` frames is frame k of the plan's `planned`, evenly through
/// the loop so that it still closes: k x frameCount / planned, rounded down.
int PlannedSourceFrame(int frameCount, int planned, int k);

}  // namespace kinetta::exporter
