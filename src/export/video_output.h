// What the MP4 and APNG encoders share: one video stream encoded by a libavcodec encoder and
// put in its container by libavformat. The container is written into a growing buffer in
// memory that can be read and sought like a file, because both containers go back over what
// they wrote (the MP4 moves its index to the front so it plays while loading; the APNG writes
// its frame count into the header), and handed to the file's sink in one write at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "export/animation_encoder.h"

struct AVFrame;

namespace kinetta::exporter {

/// How each frame's time is counted: a frame lasts `frameTicks` of 1/`ticksPerSecond` s.
struct VideoTiming {
  int ticksPerSecond = 1000;
  int frameTicks = 200;
};

/// Whole frames per second when the delay divides a second (0.2 s: 5 ticks a second, one per
/// frame); otherwise milliseconds, so that no frame's time is rounded.
VideoTiming TimingOf(int delayMilliseconds);

struct VideoSetup {
  const char* container = "";  ///< libavformat's muxer name
  const char* codec = "";      ///< libavcodec's encoder name
  int width = 0;
  int height = 0;
  int pixelFormat = 0;  ///< the encoder's AVPixelFormat
  VideoTiming timing;
  std::vector<std::pair<std::string, std::string>> codecOptions;
  std::vector<std::pair<std::string, std::string>> containerOptions;
  /// Tag the stream's colours: BT.709 primaries and transfer (those of the frames), the
  /// BT.601 matrix, limited range.
  bool tagColours = false;
};

class VideoOutput {
 public:
  /// `label` opens every message ("MP4", "APNG").
  explicit VideoOutput(std::string label);
  ~VideoOutput();
  VideoOutput(const VideoOutput&) = delete;
  VideoOutput& operator=(const VideoOutput&) = delete;

  base::Status Open(const VideoSetup& setup);

  /// The picture of the next frame, to be filled in, then sent.
  AVFrame* NextFrame();
  base::Status Send();

  /// Flushes the encoder, closes the container and writes the whole file through `sink`.
  base::Status Finish(const ByteSink& sink);

 private:
  struct State;
  // What the library failed at, with its words for `code`; and memory running out, told alone.
  base::Status Error(std::string_view doing, int code) const;
  base::Status OutOfMemory() const;
  base::Status Drain();

  std::string label_;
  std::unique_ptr<State> state_;
};

}  // namespace kinetta::exporter
