// The source picture read behind a guard against errors.
#include "image/source_loading.h"

#include <exception>

#include "base/messages.h"
#include "image/picture_file.h"

namespace kinetta::image {

base::Result<render::Surface> LoadSourcePicture(const std::string& path) {
  try {
    return LoadPicture(path);
  } catch (...) {
    return base::Result<render::Surface>::Failed(base::CannotOpenMessage(path) + "\n" +
                                                 base::ErrorMessage(std::current_exception()));
  }
}

}  // namespace kinetta::image
