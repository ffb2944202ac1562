#include "image/frame_files.h"

#include <utility>

#include "app/path_helpers.h"
#include "image/picture_file.h"

namespace kinetta::image {

exporter::FrameReader FrameFileReader(std::string sourcePath) {
  return [path = std::move(sourcePath)](int k, render::Surface& out) {
    return LoadPicture(app::FrameFileName(path, k), out);
  };
}

}  // namespace kinetta::image
