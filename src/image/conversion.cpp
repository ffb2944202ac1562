// The conversion run's frame files: BMP encoding on the drawing threads, atomic replacement in
// frame order, and the stale next frame.
#include "image/conversion.h"

#include <filesystem>
#include <system_error>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/path_helpers.h"
#include "image/bmp_file.h"

namespace kinetta::image {

render::RunResult RunConversion(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int, const render::Surface&, const std::string&)>& onSaved) {
  // Each frame file's bytes are encoded on the thread that drew the frame; the calling thread
  // only writes them, in order.
  return render::RenderFrames(
      source, s, options,
      render::FrameStages{
          [](const render::Surface& frame, std::vector<std::uint8_t>& bytes) {
            EncodeBmp24(frame, bytes);
          },
          [&](int k, const render::Surface& frame, const std::vector<std::uint8_t>& bytes,
              std::string& failedPath, std::string& message) {
            const std::string path = base::FrameFileName(sourcePath, k);
            std::string reason;
            if (!base::WriteFileAtomically(path, bytes.data(), bytes.size(), &reason)) {
              failedPath = path;
              message = base::CannotWriteMessage(path, reason);
              return false;
            }
            if (k + 1 == s.FrameCount) {
              // The frame after the last one is stale from a longer run: delete it, ignoring
              // failure.
              std::error_code ignored;
              std::filesystem::remove(base::FrameFileName(sourcePath, k + 1), ignored);
            }
            if (onSaved) onSaved(k, frame, path);
            return true;
          }});
}

}  // namespace kinetta::image
