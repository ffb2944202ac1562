// Frame files read back as the run saved them, for the animation writer.
#include "image/frame_files.h"

#include <utility>

#include "base/path_helpers.h"
#include "image/picture_file.h"

namespace kinetta::image {

FrameReader FrameFileReader(std::string sourcePath) {
  return
      [path = std::move(sourcePath)](int k) { return LoadPicture(base::FrameFileName(path, k)); };
}

}  // namespace kinetta::image
