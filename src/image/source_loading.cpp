// The source picture read behind a guard against errors.
#include "image/source_loading.h"

#include <exception>

#include "base/messages.h"
#include "image/picture_file.h"

namespace kinetta::image {

base::Result<Picture> LoadSourcePicture(const std::string& path, bool gifAllowed,
                                        const std::atomic<bool>* stop) {
  try {
    return LoadPicture(path, gifAllowed, stop);
  } catch (...) {
    const base::Status error = base::ErrorStatus(std::current_exception());
    return base::Status::Failed(error.cause(),
                                base::CannotOpenMessage(path) + "\n" + error.message());
  }
}

}  // namespace kinetta::image
