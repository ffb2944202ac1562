// Frame files read back as the run saved them, for the animation writer.
#include "image/frame_files.h"

#include <utility>

#include "base/path_helpers.h"
#include "image/picture.h"
#include "image/picture_file.h"

namespace kinetta::image {

base::Result<render::Surface> LoadFrameFile(const std::string& path) {
  base::Result<Picture> frame = LoadPicture(path);
  if (!frame.ok()) return frame.status();
  return WithTransparency(std::move(frame).value());
}

FrameReader FrameFileReader(std::string sourcePath) {
  return FrameFileReader(std::move(sourcePath), base::Settings{});
}

FrameReader FrameFileReader(std::string sourcePath, const base::Settings& s) {
  return [path = std::move(sourcePath), extension = std::string(base::FrameExtension(s))](
             int k) -> base::Result<render::Surface> {
    return LoadFrameFile(base::FrameFileName(path, k, extension));
  };
}

}  // namespace kinetta::image
