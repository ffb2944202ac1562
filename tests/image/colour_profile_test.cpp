// Profiles made here with Little CMS: ones with sRGB's primaries and a plain gamma curve, whose
// conversion to sRGB is a curve on each channel, worked out from the formulas; sRGB itself, which
// changes next to nothing; and those that describe other colours, which leave the picture as it is.
#include "image/colour_profile.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "test_support.h"

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

// sRGB's primaries and white with a gamma of 2.2 for a curve, or its grey alone.
std::vector<std::uint8_t> GammaProfile(bool grey) {
  cmsToneCurve* line = cmsBuildGamma(nullptr, 2.2);
  cmsCIExyY white = {0.3127, 0.3290, 1.0};
  cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* curves[3] = {line, line, line};
  std::vector<std::uint8_t> bytes = Saved(grey ? cmsCreateGrayProfile(cmsD50_xyY(), line)
                                               : cmsCreateRGBProfile(&white, &primaries, curves));
  cmsFreeToneCurve(line);
  return bytes;
}

int SrgbOfGamma(int v) {
  const double l = std::pow(v / 255.0, 2.2);
  const double s = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
  return static_cast<int>(std::lround(s * 255));
}

// A 1100 x 1000 picture (two bands of rows) of every level in each channel, top bytes set.
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

// Passes when every channel of `got` is `expected`'s turned by `channel` within `tolerance`, and
// the top byte is the same.
testing::AssertionResult ChannelsAre(const render::Surface& got, const render::Surface& expected,
                                     int (*channel)(int), int tolerance) {
  for (int y = 0; y < got.height(); ++y) {
    for (int x = 0; x < got.width(); ++x) {
      const std::uint32_t g = got.Row(y)[x], e = expected.Row(y)[x];
      bool near = (g >> 24) == (e >> 24);
      for (int shift : {0, 8, 16}) {
        near = near && std::abs(static_cast<int>((g >> shift) & 0xFF) -
                                channel(static_cast<int>((e >> shift) & 0xFF))) <= tolerance;
      }
      if (!near) {
        return testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is " << std::hex << g << " from " << e;
      }
    }
  }
  return testing::AssertionSuccess();
}

TEST(ConvertToSrgb, ConvertsRgbAndGreyAndKeepsTheTopByte) {
  for (const bool grey : {false, true}) {
    render::Surface picture = Levels(grey);
    ASSERT_TRUE(ConvertToSrgb(picture, GammaProfile(grey))) << "grey " << grey;
    EXPECT_TRUE(ChannelsAre(picture, Levels(grey), SrgbOfGamma, 1)) << "grey " << grey;
  }
  render::Surface picture = Levels(false);
  ASSERT_TRUE(ConvertToSrgb(picture, Saved(cmsCreate_sRGBProfile())));
  EXPECT_TRUE(ChannelsAre(
      picture, Levels(false), [](int v) { return v; }, 1));
}

TEST(ConvertToSrgb, LeavesOtherProfilesAlone) {
  const std::vector<std::uint8_t> garbage(500, 0x41);
  std::vector<std::uint8_t> cut = Saved(cmsCreate_sRGBProfile());
  cut.resize(cut.size() / 2);
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> profiles = {
      {"none", {}},
      {"garbage", garbage},
      {"cut short", cut},
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
