// Colour management through Little CMS 2. The conversion is shared by all cores, each converting
// its own bands of rows (a transform only reads its own state while it converts). A profile made
// of a curve for each channel and a matrix to XYZ (sRGB itself, Display P3, Adobe RGB: what
// cameras and phones embed) comes down to three tables and a 3 x 3 matrix read from it, which run
// several times faster than the library's general transform and give its colours within a level.
#include "image/colour_profile.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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

// Linear light from 0 to 1 in this many steps, each given its sRGB level: about five steps a
// level where the sRGB curve is steepest, by black.
constexpr int kEncodeSteps = 16384;

using Matrix = std::array<std::array<double, 3>, 3>;

// The matrix from a matrix-shaper profile's linear light to XYZ: its colorants as columns.
// Nothing when Little CMS would convert through a table the profile also holds.
std::optional<Matrix> ShaperToXyz(cmsHPROFILE profile, std::array<cmsToneCurve*, 3>& curves) {
  for (cmsTagSignature table : {cmsSigAToB0Tag, cmsSigAToB1Tag, cmsSigDToB0Tag, cmsSigDToB1Tag}) {
    if (cmsIsTag(profile, table)) return std::nullopt;
  }
  if (!cmsIsMatrixShaper(profile)) return std::nullopt;
  constexpr cmsTagSignature kColorants[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                             cmsSigBlueColorantTag};
  constexpr cmsTagSignature kCurves[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
  Matrix toXyz;
  for (int c = 0; c < 3; ++c) {
    const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, kColorants[c]));
    curves[c] = static_cast<cmsToneCurve*>(cmsReadTag(profile, kCurves[c]));
    if (!xyz || !curves[c]) return std::nullopt;
    toXyz[0][c] = xyz->X;
    toXyz[1][c] = xyz->Y;
    toXyz[2][c] = xyz->Z;
  }
  return toXyz;
}

std::optional<Matrix> Inverse(const Matrix& m) {
  Matrix inv;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {  // the cofactor of m[j][i]
      const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
      inv[i][j] = m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0];
    }
  }
  const double det = m[0][0] * inv[0][0] + m[0][1] * inv[1][0] + m[0][2] * inv[2][0];
  if (!std::isnormal(det)) return std::nullopt;
  for (auto& row : inv) {
    for (double& v : row) v /= det;
  }
  return inv;
}

// A matrix-shaper profile's conversion into sRGB as tables.
class ShaperToSrgb {
 public:
  static std::unique_ptr<ShaperToSrgb> Of(cmsHPROFILE from, cmsHPROFILE srgb) {
    std::array<cmsToneCurve*, 3> curves{}, srgbCurves{};
    const std::optional<Matrix> in = ShaperToXyz(from, curves);
    const std::optional<Matrix> out = ShaperToXyz(srgb, srgbCurves);
    const std::optional<Matrix> fromXyz = out ? Inverse(*out) : std::nullopt;
    if (!in || !fromXyz) return nullptr;
    auto tables = std::make_unique<ShaperToSrgb>();
    bool finite = true;
    for (int k = 0; k < 3; ++k) {
      for (int c = 0; c < 3; ++c) {
        double v = 0;
        for (int j = 0; j < 3; ++j) v += (*fromXyz)[k][j] * (*in)[j][c];
        tables->matrix_[k][c] = static_cast<float>(v);
        finite = finite && std::isfinite(tables->matrix_[k][c]);
      }
      for (int level = 0; level < 256; ++level) {
        tables->linear_[k][level] =
            cmsEvalToneCurveFloat(curves[k], static_cast<float>(level) / 255);
        finite = finite && std::isfinite(tables->linear_[k][level]);
      }
    }
    const std::unique_ptr<cmsToneCurve, decltype(&cmsFreeToneCurve)> encode(
        cmsReverseToneCurve(srgbCurves[0]), &cmsFreeToneCurve);
    if (!finite || !encode) return nullptr;
    for (int i = 0; i <= kEncodeSteps; ++i) {
      const float v = cmsEvalToneCurveFloat(encode.get(), static_cast<float>(i) / kEncodeSteps);
      tables->encode_[i] = static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    }
    return tables;
  }

  void Convert(std::uint32_t* pixels, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t c = pixels[i];
      const float r = linear_[0][c & 0xFF], g = linear_[1][(c >> 8) & 0xFF],
                  b = linear_[2][(c >> 16) & 0xFF];
      std::uint32_t out = c & 0xFF000000u;
      for (int k = 0; k < 3; ++k) {
        // Colours outside sRGB are clipped to its edge, as Little CMS clips them.
        const float v =
            std::clamp(matrix_[k][0] * r + matrix_[k][1] * g + matrix_[k][2] * b, 0.0f, 1.0f);
        out |= std::uint32_t{encode_[static_cast<int>(v * kEncodeSteps + 0.5f)]} << (8 * k);
      }
      pixels[i] = out;
    }
  }

 private:
  float linear_[3][256];                   // each channel's stored level as linear light
  float matrix_[3][3];                     // the profile's linear light to sRGB's
  std::uint8_t encode_[kEncodeSteps + 1];  // sRGB's linear light to its level
};

// Runs `convert` over the picture's bands of rows on all cores; the rows follow one another in
// memory, so a band is one run of pixels.
void ConvertInBands(render::Surface& picture,
                    const std::function<void(std::uint32_t*, std::size_t)>& convert) {
  const int width = picture.width();
  const int bandRows = static_cast<int>(std::max<std::size_t>(1, kBandPixels / width));
  const int bands = (picture.height() + bandRows - 1) / bandRows;
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  render::RunParts(threads, bands, [&](int band) {
    const int top = band * bandRows;
    const int rows = std::min(bandRows, picture.height() - top);
    convert(picture.Row(top), static_cast<std::size_t>(rows) * static_cast<std::size_t>(width));
    return true;
  });
}

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
  if (format == kRgbPixel) {
    if (const std::unique_ptr<ShaperToSrgb> tables = ShaperToSrgb::Of(from.get(), srgb.get())) {
      ConvertInBands(picture, [&](std::uint32_t* pixels, std::size_t count) {
        tables->Convert(pixels, count);
      });
      return true;
    }
  }
  const Transform transform(cmsCreateTransform(from.get(), format, srgb.get(), kRgbPixel,
                                               INTENT_RELATIVE_COLORIMETRIC, 0));
  if (!transform) return false;
  ConvertInBands(picture, [&](std::uint32_t* pixels, std::size_t count) {
    cmsDoTransform(transform.get(), pixels, pixels, static_cast<cmsUInt32Number>(count));
  });
  return true;
}

}  // namespace kinetta::image
