// Defaults shared by the renderers.
#include "render/renderer.h"

#include <algorithm>

#include "render/transparency.h"

namespace kinetta::render {

std::uint32_t Renderer::Background() const {
  return clearBack_ ? static_cast<std::uint32_t>(kClear)
                    : static_cast<std::uint32_t>(in_.settings.BackColor) & 0xFFFFFFu;
}

std::uint32_t Renderer::PastPicture(std::uint32_t opaque) const {
  return clearBack_ ? static_cast<std::uint32_t>(kClear) : opaque;
}

void Renderer::StartRow(int, std::uint32_t* row) const {
  std::fill_n(row, Size().width, Background());
}

void Renderer::StartCanvas(Surface& canvas) const {
  for (int y = 0; y < canvas.height(); ++y) StartRow(y, canvas.Row(y));
}

namespace {

// A whole canvas as a frame's rows.
class CanvasRows final : public FrameRows {
 public:
  explicit CanvasRows(Surface& canvas) : canvas_(canvas) {}
  std::uint32_t* Row(int y) override { return canvas_.Row(y); }
  void EndStrip() override {}

 private:
  Surface& canvas_;
};

}  // namespace

bool Renderer::DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) const {
  CanvasRows rows(canvas);
  return DrawRows(k, rows, checkpoint);
}

int OutputWidth(const Settings& s, int sourceWidth, int sourceHeight) {
  switch (s.WidthMode) {
    case 0:
      return sourceWidth;
    case 1:
      return sourceHeight;
    case 2:
      return s.WidthValue;
    default:
      return 0;
  }
}

}  // namespace kinetta::render
