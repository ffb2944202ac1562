// The one line kinetta-render keeps redrawing on a terminal while it works: the picture (when
// there are several), the frames of its run or of its animation file, and the time left.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kinetta::cli {

class ProgressLine {
 public:
  /// Draws nothing unless `enabled`; `pictures` runs of `framesEach` frames make the whole.
  ProgressLine(std::ostream& err, bool enabled, int pictures, int framesEach);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  /// The picture now under way (from 0), before its first frame.
  void StartPicture(int index);
  /// The frames of the current picture saved so far.
  void Frames(int done);
  /// An animation file of the current picture: frames read (`total` 0), then encoded.
  void File(std::string_view format, int done, int total);
  /// Takes the line away, so that a message can be written in its place; the next update draws
  /// it again.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  void Draw(const std::string& text);
  std::string PicturePart() const;

  std::ostream& err_;
  bool enabled_;
  int pictures_;
  int framesEach_;
  int picture_ = 0;
  bool drawn_ = false;
  Clock::time_point start_;
};

}  // namespace kinetta::cli
