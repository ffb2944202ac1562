// The MP4, APNG and WebM encoders are built into a module of their own, libkinetta_video.so, which
// the program loads the first time one of those files is written. FFmpeg's libraries bring a
// hundred-odd further libraries with them, and loading those took about 60 ms at the start of
// every process, whether it wrote a video or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/outcome.h"
#include "base/text_lookup.h"
#include "base/version.h"
#include "export/animation_encoder.h"
#include "export/sticker_check.h"
#include "render/surface.h"

namespace kinetta::exporter {

/// What the module hands the program: its build, which must be the program's own (a module
/// left by another version could lay out these objects differently), and its makers.
struct VideoEncoderMakers {
  const char* build = nullptr;
  std::unique_ptr<AnimationEncoder> (*mp4)(int delayMilliseconds,
                                           std::optional<render::Colour> padding) = nullptr;
  std::unique_ptr<AnimationEncoder> (*apng)(int delayMilliseconds, int plays) = nullptr;
  std::unique_ptr<AnimationEncoder> (*webm)(int delayMilliseconds) = nullptr;
  std::unique_ptr<AnimationEncoder> (*webmAtRate)(int delayMilliseconds,
                                                  const WebmRate& rate) = nullptr;
};

/// The module's file name, looked for in the program folder (the running executable's), else
/// along the executable's run path, and the one function it exports.
inline constexpr char kVideoModuleFile[] = "libkinetta_video.so";
inline constexpr char kVideoModuleEntry[] = "kinetta_video_encoders";
using VideoModuleEntry = const VideoEncoderMakers* (*)();

/// The build a module must report: the program's version and this interface's revision (one
/// more whenever VideoEncoderMakers or AnimationEncoder changes).
inline constexpr char kVideoModuleBuild[] = KINETTA_VERSION "/3";

/// The module's makers, loaded once and kept for the life of the process; or why the module
/// could not be loaded, as a line for the user.
base::Result<const VideoEncoderMakers*> VideoEncoders();

/// What the module reads: a WebM file measured for the sticker check (its container, codec,
/// size, frames, time, alpha and audio; the caller adds the file's bytes). Its own entry, of
/// the same build as the makers': a change to this or to StickerMeasure counts towards the
/// interface's revision too.
struct VideoProbe {
  const char* build = nullptr;
  base::Result<StickerMeasure> (*webm)(const char* path) = nullptr;
  base::Result<StickerMeasure> (*webmBytes)(const std::uint8_t* data, std::size_t size) = nullptr;
  base::Status (*webmFrames)(const std::uint8_t* data, std::size_t size,
                             const std::function<void(const render::Surface&)>& shown) = nullptr;
};
inline constexpr char kVideoProbeEntry[] = "kinetta_video_probe";
using VideoProbeEntry = const VideoProbe* (*)();

/// The WebM probe, built into the module only; a failure gives the reason alone.
base::Result<StickerMeasure> MeasureWebm(const char* path);

/// The same for a WebM's bytes in memory.
base::Result<StickerMeasure> MeasureWebmBytes(const std::uint8_t* data, std::size_t size);

/// Decodes a WebM in memory and hands each frame to `shown` as a player shows it, with its
/// opacity; the picture handed on is reused for the next frame.
base::Status DecodeWebm(const std::uint8_t* data, std::size_t size,
                        const std::function<void(const render::Surface&)>& shown);

/// The module's own lookup of its texts, set by the program as it loads the module to the
/// program's base::Text, so that the encoders' messages come in the user's language. A module
/// without it keeps its texts Japanese.
inline constexpr char kVideoTextLookupEntry[] = "kinetta_video_text_lookup";
using VideoTextLookupEntry = void (*)(base::TextLookup);

/// The module's probe, loaded as VideoEncoders() loads its makers.
base::Result<const VideoProbe*> VideoProbes();

}  // namespace kinetta::exporter
