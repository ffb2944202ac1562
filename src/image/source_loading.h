// Loading the source picture at the program's boundary: an error while it is read (memory
// running out in the decoder, say) makes it an unreadable picture, not the end of the program.
#pragma once

#include <atomic>
#include <string>

#include "base/outcome.h"
#include "image/picture.h"

namespace kinetta::image {

/// LoadPicture, with an error thrown while reading reported as "<path>が開けません。" and the
/// error's own message on a second line. `gifAllowed`: whether GIF pictures may be opened (the
/// marker file), for the refusal of a file that is no picture. `stop` as LoadPicture's.
base::Result<Picture> LoadSourcePicture(const std::string& path, bool gifAllowed,
                                        const std::atomic<bool>* stop = nullptr);

}  // namespace kinetta::image
