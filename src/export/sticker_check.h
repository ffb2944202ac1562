// Checking a file against a sticker target: what the file is, measured from its own structure
// (an APNG's chunks, a GIF's blocks, a WebM's stream through FFmpeg's libraries), and each of
// the target's rules passed or failed by what was measured. The fitting checks its own output
// with the same function before it writes it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "export/sticker_targets.h"

namespace kinetta::exporter {

/// What a file was found to be.
struct StickerMeasure {
  StickerContainer container = StickerContainer::Unknown;
  std::string codec;  ///< a WebM's video codec (libavcodec's name); "" for the others
  int width = 0;
  int height = 0;
  int frames = 0;
  int plays = -1;            ///< 0 for ever; -1 where the file has no count (a PNG, a WebM)
  double loopSeconds = 0.0;  ///< one loop: the frames' times added up
  std::uint64_t bytes = 0;
  bool audio = false;
  bool transparency = false;  ///< the file can show transparent pixels (an alpha channel,
                              ///< a transparent colour, a VP9 stream's alpha)
  bool grey = false;          ///< a grey-scale PNG
};

/// The target's rules, in the order they are told.
enum class StickerRule {
  Container,
  Codec,
  Size,
  Frames,
  Plays,
  Seconds,
  FrameRate,
  Bytes,
  Audio,
  Transparency,
  Colour,
};

enum class RuleVerdict {
  Pass,
  Fail,
  Warn,  ///< not as the target wants it, but the platform takes the file
};

struct RuleOutcome {
  StickerRule rule;
  RuleVerdict verdict;
};

/// The time the file shows: plays x one loop, or one loop where it plays for ever or has no
/// count of plays.
double ShownSeconds(const StickerMeasure& m);

/// One loop's frames a second; 0 when the loop takes no time.
double FramesPerSecond(const StickerMeasure& m);

/// The rules `target` has, each passed or failed by `m`.
std::vector<RuleOutcome> CheckSticker(const StickerTarget& target, const StickerMeasure& m);

/// True when no rule failed (a warning passes).
bool AllPass(const std::vector<RuleOutcome>& outcomes);

/// Measures the file at `path`: an APNG or PNG, a GIF or a WebM, told by its first bytes. A
/// missing or unreadable file fails with the system's reason, one of another kind with
/// Cause::Unsupported, one that breaks its format's rules with Cause::BrokenData; each
/// message is one line naming the file. Reads the file in pieces, however large it is.
base::Result<StickerMeasure> MeasureStickerFile(const std::filesystem::path& path);

/// The same for a file's bytes in memory, before they are written; `name` is the file's for the
/// messages.
base::Result<StickerMeasure> MeasureStickerBytes(std::span<const std::uint8_t> bytes,
                                                 const std::string& name);

}  // namespace kinetta::exporter
