// The preview's frame order: count up while the files load, wrap to 00 at the first gap.
#include "preview/frame_sequence.h"

#include <limits>

#include "base/path_helpers.h"

namespace kinetta::preview {

bool FrameSequence::Start(std::string_view sourcePath, const Loader& load) {
  frame_ = 0;
  return load(base::FrameFileName(sourcePath, 0, extension_));
}

bool FrameSequence::Tick(std::string_view sourcePath, const Loader& load) {
  // The frame number never runs past the largest int; the run writes far fewer frames.
  if (frame_ < std::numeric_limits<int>::max()) {
    ++frame_;
    if (load(base::FrameFileName(sourcePath, frame_, extension_))) return true;
  }
  frame_ = 0;
  return load(base::FrameFileName(sourcePath, 0, extension_));
}

}  // namespace kinetta::preview
