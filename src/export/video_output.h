// What the video encoders share: one video stream encoded by a libavcodec encoder and put in
// its container by libavformat. A container that goes back over what it wrote (the MP4 moves
// its index to the front so it plays while loading; the WebM writes its length and index at
// the end) is written into a growing buffer in memory that can be read and sought like a
// file, and handed to the file's sink in one write at the end. One that only goes forward (the
// APNG) is written to the sink as it is encoded, so the file never lies whole in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "export/animation_encoder.h"

struct AVFrame;
struct AVPacket;

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
  /// Write the container to the sink as it is made, forward only, instead of into memory.
  bool streamed = false;
  /// The encoder counts whole frames (its time base one frame's time) instead of ticks: libvpx
  /// takes a frame to last one unit of it when it shares out a bitrate.
  bool frameTimeBase = false;
  /// Two passes: 1 leaves the encoder's statistics in `twoPassStats` at Finish, 2 codes the
  /// frames from them; 0 one pass.
  int pass = 0;
  std::string* twoPassStats = nullptr;
  /// Called with each packet before the container takes it; a negative result is FFmpeg's
  /// error code, and fails the frame.
  std::function<int(AVPacket*)> beforeWrite;
};

class VideoOutput {
 public:
  /// `label` opens every message ("MP4", "APNG").
  explicit VideoOutput(std::string label);
  ~VideoOutput();
  VideoOutput(const VideoOutput&) = delete;
  VideoOutput& operator=(const VideoOutput&) = delete;

  /// `sink` receives the file: as it is made when the setup is streamed, else at Finish.
  base::Status Open(const VideoSetup& setup, const ByteSink& sink);

  /// The picture of the next frame, to be filled in, then sent.
  AVFrame* NextFrame();
  base::Status Send();

  /// Flushes the encoder, closes the container and writes the rest of the file to the sink.
  base::Status Finish();

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
