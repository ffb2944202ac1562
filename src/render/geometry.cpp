// Colour parts and scaled distances, computed exactly as the frames need them.
#include "render/geometry.h"

#include <cstdlib>

namespace kinetta::render {

int RGBPart(Colour colour, int part) {
  // Truncating division throughout, as the packed colour arithmetic always did: the remainder
  // keeps the dividend's sign, so -1 splits into -1, 0, 0.
  const Colour r = colour % 256;
  const Colour t = static_cast<Colour>((static_cast<double>(colour) - r) / 256);
  const Colour g = t % 256;
  const Colour b = static_cast<Colour>((static_cast<double>(t) - g) / 256);
  switch (part) {
    case 0:
      return r;
    case 1:
      return g;
    case 2:
      return b;
    default:
      return 0;
  }
}

int Distan1(int a, int b, int w) {
  const long long d = std::llabs(static_cast<long long>(b) - a) * 100;
  return static_cast<int>(std::floor(static_cast<double>(d) / w));
}

int Distan2(int x1, int y1, int x2, int y2, int w) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  const double s = std::pow(dx, 2) + std::pow(dy, 2);
  return static_cast<int>(std::floor(std::sqrt(s) * 100 / w));
}

}  // namespace kinetta::render
