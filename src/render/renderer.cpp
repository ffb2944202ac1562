// Defaults shared by the renderers.
#include "render/renderer.h"

namespace kinetta::render {

void Renderer::StartCanvas(Surface& canvas) const { canvas.Fill(in_.settings.BackColor); }

int OutputWidth(const Settings& s, int sourceWidth, int sourceHeight) {
  switch (s.WidthMode) {
    case 0: return sourceWidth;
    case 1: return sourceHeight;
    case 2: return s.WidthValue;
    default: return 0;
  }
}

}  // namespace kinetta::render
