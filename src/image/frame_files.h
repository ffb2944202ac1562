// The saved frame files of a picture as a reader for the animation writer: frame k is the file
// the run saved as number k, loaded the way the preview loads it.
#pragma once

#include <string>

#include "image/frame_reader.h"

namespace kinetta::image {

/// Reads frame k of `sourcePath`'s frames; a file that is missing or cannot be loaded ends the
/// frames there.
FrameReader FrameFileReader(std::string sourcePath);

}  // namespace kinetta::image
