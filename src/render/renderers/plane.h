// The plane's per-pixel formulas: the bevel width and which band a pixel lies in.
#pragma once

namespace kinetta::render::plane {

/// round(min(OutW, H) / 10 + 1), halves to even: 100 x 80 gives 9, 25 x 25 gives 4.
int BevelWidth(int outW, int height);

enum class Band { Inner, Light, Shadow };

/// The bevel band of pixel (x, y) in an outW x height frame with bevel width b: lit along the
/// top and left, in shadow along the bottom and right, mitred at the two other corners.
Band BevelBand(int x, int y, int outW, int height, int b);

}  // namespace kinetta::render::plane
