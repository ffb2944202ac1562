// Profiles made here with Little CMS: ones with sRGB's primaries and a plain gamma curve, whose
// conversion to sRGB is a curve on each channel, worked out from the formulas; sRGB as a table;
// and profiles of other colours, or none that can be read, which leave the picture as it is.
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

// sRGB again, as a table from RGB to Lab on a grid of 33 points a side: converted by Little CMS's
// general transform, not by the matrix-shaper's tables.
std::vector<std::uint8_t> TableSrgbProfile() {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile(), lab = cmsCreateLab4Profile(nullptr);
  cmsHTRANSFORM toLab =
      cmsCreateTransform(srgb, TYPE_RGB_16, lab, TYPE_LabV2_16, INTENT_RELATIVE_COLORIMETRIC, 0);
  cmsPipeline* table = cmsPipelineAlloc(nullptr, 3, 3);
  cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 33, 3, 3, nullptr);
  cmsStageSampleCLut16bit(
      grid,
      [](const cmsUInt16Number in[], cmsUInt16Number out[], void* t) {
        cmsDoTransform(t, in, out, 1);
        return 1;
      },
      toLab, 0);
  cmsPipelineInsertStage(table, cmsAT_END, grid);
  cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
  cmsSetProfileVersion(profile, 2.1);
  cmsSetDeviceClass(profile, cmsSigInputClass);
  cmsSetColorSpace(profile, cmsSigRgbData);
  cmsSetPCS(profile, cmsSigLabData);
  cmsWriteTag(profile, cmsSigAToB0Tag, table);
  cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
  cmsPipelineFree(table);
  cmsDeleteTransform(toLab);
  cmsCloseProfile(srgb);
  cmsCloseProfile(lab);
  return Saved(profile);
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
  std::vector<int> gamma(256), same(256);
  for (int v = 0; v < 256; ++v) {
    const double l = std::pow(v / 255.0, 2.2);
    gamma[v] =
        int(std::lround(255 * (l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055)));
    same[v] = v;
  }
  const struct {
    const char* name;
    std::vector<std::uint8_t> profile;
    bool grey;
    const std::vector<int>& level;  // what each level becomes
    int tolerance;
  } cases[] = {{"gamma RGB", GammaProfile(false), false, gamma, 1},
               {"gamma grey", GammaProfile(true), true, gamma, 1},
               {"sRGB as a table", TableSrgbProfile(), false, same, 2}};
  for (const auto& c : cases) {
    const render::Surface stored = Levels(c.grey);
    render::Surface picture = stored;
    ASSERT_TRUE(ConvertToSrgb(picture, c.profile)) << c.name;
    int worst = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const std::uint32_t got = picture.Row(y)[x], was = stored.Row(y)[x];
        worst = std::max(worst, (got >> 24) == (was >> 24) ? 0 : 255);
        for (int shift : {0, 8, 16}) {
          worst =
              std::max(worst, std::abs(int(got >> shift & 0xFF) - c.level[was >> shift & 0xFF]));
        }
      }
    }
    EXPECT_LE(worst, c.tolerance) << c.name;
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
