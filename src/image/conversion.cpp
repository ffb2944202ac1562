// The conversion run's frame files: BMP encoding on the drawing threads, atomic replacement in
// frame order, and the stale next frame.
#include "image/conversion.h"

#include <filesystem>
#include <system_error>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "render/run_budget.h"

namespace kinetta::image {

render::RunResult RunConversion(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int, const render::Surface&, const std::string&)>& onSaved) {
  // A frame whose file would not fit in the 32 bits a BMP header gives its size is refused before
  // anything is drawn.
  const render::FrameSize size = render::PlannedFrameSize(s, source.width(), source.height());
  if (s.FrameCount >= 1 && size.width >= 1 && size.height >= 1 &&
      Bmp24FileBytes(size.width, size.height) > kMaxBmpFileBytes) {
    render::RunResult refused;
    refused.status = render::RunStatus::TooLarge;
    refused.frameWidth = size.width;
    refused.frameHeight = size.height;
    refused.message = base::FrameFileTooLargeMessage(size.width, size.height);
    return refused;
  }
  // Temporaries a killed run left beside the frames go first.
  base::RemoveStaleTemporaries(std::filesystem::path(sourcePath).parent_path());
  // Each frame file's bytes are encoded on the thread that drew the frame; the calling thread
  // only writes them, in order.
  return render::RenderFrames(
      source, s, options,
      render::FrameStages{
          [](const render::Surface& frame, std::vector<std::uint8_t>& bytes) {
            EncodeBmp24(frame, bytes);
          },
          [&](int k, const render::Surface& frame,
              const std::vector<std::uint8_t>& bytes) -> render::FrameOutcome {
            const std::string path = base::FrameFileName(sourcePath, k);
            const base::Status written =
                base::WriteFileAtomically(path, bytes.data(), bytes.size());
            if (!written.ok()) {
              return {base::Status::Failed(base::CannotWriteMessage(path, written.message())),
                      path};
            }
            if (k + 1 == s.FrameCount) {
              // The frame after the last one is stale from a longer run: delete it, ignoring
              // failure.
              std::error_code ignored;
              std::filesystem::remove(base::FrameFileName(sourcePath, k + 1), ignored);
            }
            if (onSaved) onSaved(k, frame, path);
            return {};
          }});
}

}  // namespace kinetta::image
