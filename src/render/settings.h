// The six animation settings a conversion run reads, with the defaults used when there is no
// settings file.
#pragma once

#include "render/surface.h"

namespace kinetta::render {

struct Settings {
  int ShapeIndex = 0;   ///< 0..8 in shape-list order
  int WidthMode = 1;    ///< 0 source width, 1 source height, 2 WidthValue
  int WidthValue = 100; ///< frame width in pixels for WidthMode 2
  Colour BackColor = 0; ///< background (the water colour for the water surface)
  int FrameCount = 1;   ///< frames per run
  int Shade3D = 1;      ///< the shape's switch: shading, water tint or dot mode

  friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace kinetta::render
