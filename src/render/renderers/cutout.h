// The cut-out's formulas: the frame height and how a picture pixel meets its mask pixel.
#pragma once

#include "render/renderer.h"
#include "render/surface.h"

namespace kinetta::render::cutout {

/// HH = round(H / 2), halves to even: the picture is rows 0..HH - 1, the mask the HH rows below.
int FrameHeight(int sourceHeight);

/// The frame: W x HH.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// One frame pixel: the picture pixel ANDed bit by bit with its mask pixel; where the mask is
/// exactly 0 (black) and the background colour is not 0, the background colour instead. A mask
/// read past the work picture (-1) has every bit set and keeps the picture.
Colour Combine(Colour picture, Colour mask, Colour backColor);

/// The same for pixels that carry transparency, over a clear background: where the mask is
/// opaque black the pixel is clear; elsewhere the colours are ANDed and the opacities
/// multiplied (round(a x b / 255)), so the stencil's clear parts cut the picture away too.
Colour CombineKeepingOpacity(Colour picture, Colour mask);

}  // namespace kinetta::render::cutout
