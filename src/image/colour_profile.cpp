// Colour management through Little CMS 2. One transform from the profile to sRGB is shared by
// all cores, each converting its own bands of rows (a transform only reads its own state while
// it converts).
#include "image/colour_profile.h"

#include <lcms2.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <thread>

#include "render/run_parts.h"

namespace kinetta::image {

namespace {

// A packed pixel lies in memory as red, green, blue and the top byte, in that order.
static_assert(std::endian::native == std::endian::little);
constexpr cmsUInt32Number kRgbPixel = TYPE_RGBA_8;
// A grey pixel read from its red, the other three bytes skipped.
constexpr cmsUInt32Number kGreyPixel =
    COLORSPACE_SH(PT_GRAY) | EXTRA_SH(3) | CHANNELS_SH(1) | BYTES_SH(1);

// The rows one part converts: about a million pixels of a large picture.
constexpr std::size_t kBandPixels = std::size_t{1} << 20;

struct ProfileClose {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformDelete {
  void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Profile = std::unique_ptr<void, ProfileClose>;
using Transform = std::unique_ptr<void, TransformDelete>;

bool AllGrey(const render::Surface& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint32_t c = row[x];
      if (((c ^ (c >> 8)) & 0xFFFF) != 0) return false;  // red = green and green = blue
    }
  }
  return true;
}

}  // namespace

bool ConvertToSrgb(render::Surface& picture, PictureBytes profile) {
  if (profile.empty() || profile.size() > kMaxProfileBytes || picture.empty()) return false;
  const Profile from(
      cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size())));
  if (!from) return false;
  cmsUInt32Number format = 0;
  switch (cmsGetColorSpace(from.get())) {
    case cmsSigRgbData:
      format = kRgbPixel;
      break;
    case cmsSigGrayData:
      if (!AllGrey(picture)) return false;
      format = kGreyPixel;
      break;
    default:
      return false;
  }
  const Profile srgb(cmsCreate_sRGBProfile());
  if (!srgb) return false;
  const Transform transform(cmsCreateTransform(from.get(), format, srgb.get(), kRgbPixel,
                                               INTENT_RELATIVE_COLORIMETRIC, 0));
  if (!transform) return false;

  const int width = picture.width();
  const int bandRows = static_cast<int>(std::max<std::size_t>(1, kBandPixels / width));
  const int bands = (picture.height() + bandRows - 1) / bandRows;
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // The rows follow one another in memory, so a band is one run of pixels.
  render::RunParts(threads, bands, [&](int band) {
    const int top = band * bandRows;
    const int rows = std::min(bandRows, picture.height() - top);
    std::uint32_t* pixels = picture.Row(top);
    cmsDoTransform(transform.get(), pixels, pixels,
                   static_cast<cmsUInt32Number>(rows) * static_cast<cmsUInt32Number>(width));
    return true;
  });
  return true;
}

}  // namespace kinetta::image
