// Reads MP4 and APNG files back with FFmpeg's libraries, for the tests and the benchmarks:
// every frame as the player shows it, in RGB, with its time and the stream's description.
#pragma once

#include <filesystem>
#include <string>

#include "animation_decoder.h"

namespace kinetta::test {

struct DecodedVideo : DecodedAnimation {
  std::string codec;        ///< "h264", "apng"
  std::string pixelFormat;  ///< "yuv420p", "rgb24"
  int frameRateNum = 0;     ///< the stream's average frame rate
  int frameRateDen = 1;
  int audioStreams = 0;
};

/// `delays` are in milliseconds; `loopCount` is the APNG's number of plays (0 for ever), -1 for
/// an MP4, which has none.
DecodedVideo DecodeVideo(const std::filesystem::path& file);

}  // namespace kinetta::test
