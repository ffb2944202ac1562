// Profiles made here with Little CMS: ones with sRGB's primaries and a plain gamma curve, whose
// conversion to sRGB is a curve on each channel, worked out from the formulas; and profiles of
// other colours, or none that can be read, which leave the picture as it is.
#include "image/colour_profile.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kinetta::image {
namespace {

std::vector<std::uint8_t> Saved(cmsHPROFILE profile) {
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<std::uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

// sRGB's primaries and white with a gamma of 2.2, or its grey alone.
std::vector<std::uint8_t> GammaProfile(bool grey) {
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
  cmsCIExyY white = {0.3127, 0.3290, 1.0};
  cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* curves[3] = {gamma, gamma, gamma};
  std::vector<std::uint8_t> bytes = Saved(grey ? cmsCreateGrayProfile(cmsD50_xyY(), gamma)
                                               : cmsCreateRGBProfile(&white, &primaries, curves));
  cmsFreeToneCurve(gamma);
  return bytes;
}

// 1100 x 1000 pixels (two bands of rows), every level in each channel, top bytes set.
render::Surface Levels(bool grey) {
  render::Surface s(1100, 1000);
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const std::uint32_t r = x & 0xFF, g = grey ? r : (x + y) & 0xFF, b = grey ? r : y & 0xFF;
      s.Row(y)[x] = (static_cast<std::uint32_t>(x * 7 + y) << 24) | r | (g << 8) | (b << 16);
    }
  }
  return s;
}

TEST(ConvertToSrgb, ConvertsRgbAndGreyAndKeepsTheTopByte) {
  int srgbOf[256];
  for (int v = 0; v < 256; ++v) {
    const double l = std::pow(v / 255.0, 2.2);
    srgbOf[v] =
        int(std::lround(255 * (l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055)));
  }
  for (const bool grey : {false, true}) {
    const render::Surface stored = Levels(grey);
    render::Surface picture = stored;
    ASSERT_TRUE(ConvertToSrgb(picture, GammaProfile(grey))) << "grey " << grey;
    int worst = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const std::uint32_t got = picture.Row(y)[x], was = stored.Row(y)[x];
        worst = std::max(worst, (got >> 24) == (was >> 24) ? 0 : 255);
        for (int shift : {0, 8, 16}) {
          worst = std::max(worst, std::abs(int(got >> shift & 0xFF) - srgbOf[was >> shift & 0xFF]));
        }
      }
    }
    EXPECT_LE(worst, 1) << "grey " << grey;
  }
}

TEST(ConvertToSrgb, LeavesOtherProfilesAlone) {
  std::vector<std::uint8_t> cut = Saved(cmsCreate_sRGBProfile());
  std::vector<std::uint8_t> padded = Saved(cmsCreate_sRGBProfile());
  padded.resize(kMaxProfileBytes + 1);  // Little CMS reads no further than the header's size
  cut.resize(cut.size() / 2);
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> profiles = {
      {"none", {}},
      {"garbage", std::vector<std::uint8_t>(500, 0x41)},
      {"cut short", cut},
      {"too large", padded},
      {"Lab", Saved(cmsCreateLab4Profile(nullptr))},
      {"CMYK", Saved(cmsCreateInkLimitingDeviceLink(cmsSigCmykData, 300))},
      {"grey beside colours", GammaProfile(true)},
  };
  for (const auto& [name, profile] : profiles) {
    render::Surface picture = Levels(false);
    EXPECT_FALSE(ConvertToSrgb(picture, profile)) << name;
    EXPECT_TRUE(picture == Levels(false)) << name;
  }
}

}  // namespace
}  // namespace kinetta::image
