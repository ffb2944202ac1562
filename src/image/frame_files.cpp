// Frame files read back as the run saved them, for the animation writer.
#include "image/frame_files.h"

#include <utility>

#include "base/path_helpers.h"
#include "image/picture_file.h"

namespace kinetta::image {

FrameReader FrameFileReader(std::string sourcePath) {
  return [path = std::move(sourcePath)](int k) -> base::Result<render::Surface> {
    base::Result<Picture> frame = LoadPicture(base::FrameFileName(path, k));
    if (!frame.ok()) return frame.status();
    return std::move(frame).value().pixels;
  };
}

}  // namespace kinetta::image
