// Which frame file the preview shows next: 00, 01, ... up to the first number that cannot be
// loaded, then 00 again. The files are named by the same rule as the saved frames.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kinetta::preview {

class FrameSequence {
 public:
  /// Tries to show one frame file; false when it cannot be loaded.
  using Loader = std::function<bool(const std::string& file)>;

  /// Shows frame 0 of `sourcePath`. False when it cannot be loaded: nothing has been converted.
  bool Start(std::string_view sourcePath, const Loader& load);

  /// One tick: shows the next frame, or frame 0 again after the last one that loads. False when
  /// frame 0 itself no longer loads (the frames were deleted, or another picture without frames
  /// was opened): the preview then ends instead of trying again without end.
  bool Tick(std::string_view sourcePath, const Loader& load);

  /// The number of the frame shown now.
  int frame() const { return frame_; }

  /// The frame files' extension: ".bmp" (as at first) or ".png".
  void SetExtension(std::string extension) { extension_ = std::move(extension); }

 private:
  int frame_ = 0;
  std::string extension_ = ".bmp";
};

}  // namespace kinetta::preview
