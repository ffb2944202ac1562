// The plane's frame size and per-pixel formulas: the bevel width and which band a pixel lies in.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::plane {

/// The frame: OutW (by the width mode; below 1 for no frame) x H.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The tables made once per run, at most: per row a list of up to three runs of columns.
double TableBytes(const Settings& s, int sourceWidth, int sourceHeight);

/// round(min(OutW, H) / 10 + 1), halves to even: 100 x 80 gives 9, 25 x 25 gives 4.
int BevelWidth(int outW, int height);

enum class Band { Inner, Light, Shadow };

/// The bevel band of pixel (x, y) in an outW x height frame with bevel width b: lit along the
/// top and left, in shadow along the bottom and right, mitred at the two other corners.
Band BevelBand(int x, int y, int outW, int height, int b);

}  // namespace kinetta::render::plane
