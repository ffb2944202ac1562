// The picture decoders against the corpus in tests/data (made by make_pictures.py): every valid
// variant gives its letter grid (K black, W white, R red, G green, B blue), laid over a
// background where it has transparency; every broken file is refused with the reason that names
// its fault, and the limits refuse before decoding. A BMP read in bands gives what decoding it
// whole gives.
#include "image/picture_decoders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/memory_budget.h"
#include "base/regular_file.h"
#include "image/bmp_file.h"
#include "image/exif_orientation.h"
#include "image/picture_file.h"
#include "image/quick_look.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

std::string Data(const std::string& name) { return std::string(KINETTA_TEST_DATA) + "/" + name; }

render::Colour LetterColour(char c) {
  switch (c) {
    case 'W':
      return 0xFFFFFF;
    case 'R':
      return 0x0000FF;
    case 'G':
      return 0x00FF00;
    case 'B':
      return 0xFF0000;
    default:
      return 0;
  }
}

struct Variant {
  const char* file;
  std::vector<const char*> grid;  // rows top to bottom
  int scale = 1;                  // each letter is a scale x scale square
  int tolerance = 0;              // per channel, for the lossy JPEGs
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.file; }

// Passes when every pixel is its letter's colour within the tolerance; otherwise names the
// first pixel that is not.
testing::AssertionResult MatchesGrid(const render::Surface& s, const Variant& v) {
  const int w = static_cast<int>(std::string(v.grid[0]).size()) * v.scale;
  const int h = static_cast<int>(v.grid.size()) * v.scale;
  if (s.width() != w || s.height() != h) {
    return testing::AssertionFailure()
           << s.width() << " x " << s.height() << ", expected " << w << " x " << h;
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const render::Colour want = LetterColour(v.grid[y / v.scale][x / v.scale]);
      const render::Colour got = s.Point(x, y);
      for (int shift : {0, 8, 16}) {
        if (std::abs(((got >> shift) & 0xFF) - ((want >> shift) & 0xFF)) > v.tolerance) {
          return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << got << ", expected " << want;
        }
      }
    }
  }
  return testing::AssertionSuccess();
}

const std::vector<const char*> kFour = {"RGBWK", "KRGBW", "WKRGB"};
const std::vector<const char*> kTwo = {"RBRBB", "BRRBR", "RRBBB"};

class ValidVariantTest : public testing::TestWithParam<Variant> {};

TEST_P(ValidVariantTest, GivesItsPicture) {
  const base::Result<Picture> loaded = LoadPicture(Data(GetParam().file));
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  EXPECT_TRUE(MatchesGrid(loaded.value().pixels, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, ValidVariantTest,
    testing::Values(Variant{"bmp-1.bmp", kTwo}, Variant{"bmp-1-topdown.bmp", kTwo},
                    Variant{"bmp-4.bmp", kFour}, Variant{"bmp-4-topdown.bmp", kFour},
                    Variant{"bmp-8.bmp", kFour}, Variant{"bmp-8-topdown.bmp", kFour},
                    Variant{"bmp-8-five-colours.bmp", kFour}, Variant{"bmp-8-header64.bmp", kFour},
                    Variant{"bmp-16.bmp", kFour}, Variant{"bmp-16-topdown.bmp", kFour},
                    Variant{"bmp-16-565.bmp", kFour}, Variant{"bmp-16-565-topdown.bmp", kFour},
                    Variant{"bmp-16-header52.bmp", kFour}, Variant{"bmp-24.bmp", kFour},
                    Variant{"bmp-24-topdown.bmp", kFour}, Variant{"bmp-24-header108.bmp", kFour},
                    Variant{"bmp-32.bmp", kFour}, Variant{"bmp-32-topdown.bmp", kFour},
                    Variant{"bmp-32-fields.bmp", kFour},
                    Variant{"bmp-32-fields-topdown.bmp", kFour},
                    Variant{"bmp-32-header56-alpha.bmp", kFour},
                    Variant{"bmp-32-header124-topdown.bmp", kFour}, Variant{"bmp-os2-1.bmp", kTwo},
                    Variant{"bmp-os2-4.bmp", kFour}, Variant{"bmp-os2-8.bmp", kFour},
                    Variant{"bmp-os2-24.bmp", kFour}, Variant{"bmp-rle8.bmp", kFour},
                    // Pixels the codes skip take colour index 0, black in these files.
                    Variant{"bmp-rle8-skips.bmp", {"KKKGK", "RRKKK", "WKRGB"}},
                    Variant{"bmp-rle4-skips.bmp", {"KGGGK", "GWKWW", "RBRBR"}}));

INSTANTIATE_TEST_SUITE_P(
    Gif, ValidVariantTest,
    testing::Values(
        // Table R G B W, background index 2; a 2 x 2 image at (1, 1).
        Variant{"gif-offset.gif", {"BBBB", "BRGB", "BWRB"}},
        // The same with index 1 transparent: the screen and those pixels show entry 1.
        Variant{"gif-transparent.gif", {"GGGG", "GRGG", "GWRG"}},
        Variant{"gif-clipped.gif", {"BBB", "BRG"}}, Variant{"gif-local-table.gif", {"BWG", "WBG"}},
        Variant{"gif-no-screen-size.gif", {"RG", "GR"}},
        Variant{"gif-interlaced.gif", {"RR", "GG", "BB", "WW", "RR", "GG", "BB", "WW", "RR"}}));

INSTANTIATE_TEST_SUITE_P(
    Jpeg, ValidVariantTest,
    testing::Values(Variant{"jpeg-444.jpg", {"RG", "BW"}, 8, 24},
                    Variant{"jpeg-progressive.jpg", {"RG", "BW"}, 8, 24},
                    Variant{"jpeg-grey.jpg", {"KW", "WK"}, 8, 24},
                    Variant{"jpeg-cmyk.jpg", {"RG", "BW"}, 8, 24},
                    // Profile segments that do not fit together: no profile.
                    Variant{"jpeg-icc-mismatched.jpg", {"RG", "BW"}, 8, 24},
                    // Flaws around pixels that all come from the file.
                    Variant{"jpeg-no-end-marker.jpg", {"RG", "BW"}, 8, 24},
                    Variant{"jpeg-stray-bytes.jpg", {"RG", "BW"}, 8, 24},
                    Variant{"jpeg-progressive-no-end-marker.jpg", {"RG", "BW"}, 8, 24}));

// Stored turned, each with the orientation tag that stands it upright again.
const std::vector<const char*> kUpright = {"RGB", "WKK"};

INSTANTIATE_TEST_SUITE_P(TurnedJpeg, ValidVariantTest,
                         testing::Values(Variant{"jpeg-orientation-2.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-3.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-4.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-5.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-6.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-7.jpg", kUpright, 8, 24},
                                         Variant{"jpeg-orientation-8.jpg", kUpright, 8, 24}));

struct Broken {
  const char* file;
  const char* reason;  // the second line's text; nullptr for the plain message alone
};

void PrintTo(const Broken& b, std::ostream* os) { *os << b.file; }

class BrokenVariantTest : public testing::TestWithParam<Broken> {};

TEST_P(BrokenVariantTest, IsRefusedWithItsReason) {
  const std::string path = Data(GetParam().file);
  const base::Result<Picture> loaded = LoadPicture(path);
  EXPECT_FALSE(loaded.ok());
  std::string expected = path + "が開けません。";
  if (GetParam().reason) expected += std::string("\n（") + GetParam().reason + "）";
  EXPECT_EQ(loaded.message(), expected);
  // A kind of file not read is no broken file.
  const std::string reason = GetParam().reason ? GetParam().reason : "";
  if (reason.ends_with("には対応していません")) {
    EXPECT_EQ(loaded.cause(), base::Cause::Unsupported);
  } else if (reason.find("データが") != std::string::npos) {
    EXPECT_EQ(loaded.cause(), base::Cause::BrokenData);
  }
}

constexpr char kBmpCut[] = "BMP データが途中で切れています";
constexpr char kBmpBroken[] = "BMP データが壊れています";
constexpr char kGifCut[] = "GIF データが途中で切れています";
constexpr char kGifBroken[] = "GIF データが壊れています";
constexpr char kJpegCut[] = "JPEG データが途中で切れています";
constexpr char kJpegBroken[] = "JPEG データが壊れています";
constexpr char kBmpUnsupported[] = "この種類の BMP には対応していません";

INSTANTIATE_TEST_SUITE_P(
    Corpus, BrokenVariantTest,
    testing::Values(
        Broken{"missing.bmp", "ファイルまたはフォルダが見つかりません"},
        Broken{"empty.bmp", "BMP、JPEG、PNG、WebP、HEIC、AVIF、GIF のいずれでもありません"},
        Broken{"not-a-picture.jpg", "BMP、JPEG、PNG、WebP、HEIC、AVIF、GIF のいずれでもありません"},
        Broken{"truncated.bmp", kBmpCut}, Broken{"truncated.jpg", kJpegCut},
        Broken{"truncated.gif", kGifCut}, Broken{"corrupt.gif", kGifBroken},
        Broken{"huge-header.bmp", "画像が大きすぎます。100000 x 100000 ピクセル"},
        Broken{"bad-size.bmp", kBmpBroken}, Broken{"broken-bmp-os2-cut.bmp", kBmpCut},
        Broken{"broken-bmp-rle8-cut.bmp", kBmpCut}, Broken{"broken-bmp-rle4-cut.bmp", kBmpCut},
        Broken{"broken-bmp-rle4-tall.bmp", "画像が大きすぎます。16 x 8388620 ピクセル"},
        Broken{"broken-bmp-header124-pixels-at-66.bmp", kBmpBroken},
        Broken{"broken-bmp-rle8-run-past-row.bmp", kBmpBroken},
        Broken{"broken-bmp-rle8-delta-past-end.bmp", kBmpBroken},
        Broken{"broken-bmp-rle8-topdown.bmp", kBmpBroken},
        Broken{"broken-bmp-index-outside-table.bmp", kBmpBroken},
        Broken{"broken-bmp-fields-overlap.bmp", kBmpBroken},
        Broken{"broken-bmp-fields-gap.bmp", kBmpBroken},
        Broken{"broken-bmp-7-bits.bmp", kBmpBroken},
        Broken{"broken-bmp-header-20.bmp", kBmpUnsupported},
        Broken{"broken-bmp-jpeg-inside.bmp", kBmpUnsupported},
        Broken{"unsupported-bmp-2-bits.bmp", kBmpUnsupported},
        Broken{"unsupported-bmp-64-bits.bmp", kBmpUnsupported},
        Broken{"unsupported-bmp-cmyk.bmp", kBmpUnsupported},
        Broken{"unsupported-bmp-os2-huffman.bmp", kBmpUnsupported},
        Broken{"unsupported-bmp-os2-rle24.bmp", kBmpUnsupported},
        Broken{"broken-bmp-offset-past-end.bmp", kBmpCut},
        Broken{"broken-gif-cut-in-data.gif", kGifCut}, Broken{"broken-gif-tall.gif", kGifCut},
        Broken{"broken-gif-index-outside-table.gif", kGifBroken},
        Broken{"broken-gif-no-colour-table.gif", kGifBroken},
        Broken{"broken-gif-no-image.gif", kGifBroken},
        // A short scan that still ends with the end-of-image marker.
        Broken{"broken-jpeg-short-scan.jpg", kJpegCut},
        // 16 x 40000 and 16384 x 16384 declared in a few hundred bytes.
        Broken{"broken-jpeg-tall.jpg", kJpegCut}, Broken{"broken-jpeg-16384.jpg", kJpegCut},
        Broken{"broken-jpeg-bad-marker.jpg", kJpegBroken},
        // Made-up rows: a scan cut short without an end marker, a progressive file cut between
        // two scans, a code no table has.
        Broken{"broken-jpeg-cut-in-scan.jpg", kJpegCut},
        Broken{"broken-jpeg-progressive-cut-between-scans.jpg", kJpegCut},
        Broken{"broken-jpeg-bad-code.jpg", kJpegBroken},
        Broken{"broken-png-cut.png", "PNG データが途中で切れています"},
        Broken{"broken-png-idat-crc.png", "PNG データが壊れています"},
        // Sizes declared in a few hundred bytes: past the largest side, past the memory at hand
        // or, where it fits, refused as the data runs out long before the picture.
        Broken{"broken-png-huge.png", "画像が大きすぎます。65535 x 65535 ピクセル"},
        Broken{"broken-png-16384.png", "PNG データが途中で切れています"},
        Broken{"broken-webp-huge.webp", "WebP データが壊れています"},
        Broken{"broken-heic-huge.heic", "画像が大きすぎます。60000 x 60000 ピクセル"},
        // A tile grid larger than the picture it declares, which the library would make.
        Broken{"broken-heic-grid.heic", "HEIC データが壊れています"},
        Broken{"broken-webp-cut.webp", "WebP データが途中で切れています"},
        Broken{"broken-heic-cut.heic", "HEIC データが途中で切れています"}));

// Without GIF support, the refusal of a file that is no picture does not offer GIF.
TEST(UnknownFormat, NamesGifOnlyWhereAllowed) {
  EXPECT_EQ(LoadPicture(Data("empty.bmp"), false).message(),
            Data("empty.bmp") +
                "が開けません。\n（BMP、JPEG、PNG、WebP、HEIC、AVIF のいずれでもありません）");
}

// The background of the pictures with transparency below, red 0x10, green 0x80, blue 0xF0; T
// shows it, H is red at opacity 128 over it: round((128 x c + 127 x b) / 255) a channel.
constexpr render::Colour kBack = 0xF08010;

render::Colour SeeThroughColour(char c) {
  switch (c) {
    case 'T':
      return kBack;
    case 'H':
      return 0x784088;
    case 'D':  // the grey of 16-bit 0x20C0, rounded
      return 0x212121;
    case 'E':  // the grey of 2-bit 2
      return 0xAAAAAA;
    default:
      return LetterColour(c);
  }
}

struct SeeThrough {
  const char* file;
  std::vector<const char*> grid;  // rows top to bottom, over kBack
  bool alpha;                     // whether the picture keeps opacity
  int scale = 1;
  double minPsnr = 0;  // for lossy pictures; exact otherwise
};

void PrintTo(const SeeThrough& v, std::ostream* os) { *os << v.file; }

// Exact, or the peak signal-to-noise ratio of the colours of `s` against the grid at least
// `v.minPsnr`; otherwise names the first differing pixel, or the ratio.
testing::AssertionResult OverBackground(const render::Surface& s, const SeeThrough& v) {
  const int w = static_cast<int>(std::string(v.grid[0]).size()) * v.scale;
  const int h = static_cast<int>(v.grid.size()) * v.scale;
  if (s.width() != w || s.height() != h) {
    return testing::AssertionFailure()
           << s.width() << " x " << s.height() << ", expected " << w << " x " << h;
  }
  double squares = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const render::Colour want = SeeThroughColour(v.grid[y / v.scale][x / v.scale]);
      const render::Colour got = s.Point(x, y);
      if (v.minPsnr == 0 && got != want) {
        return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                           << got << ", expected " << want;
      }
      for (int shift : {0, 8, 16}) {
        const int d = ((got >> shift) & 0xFF) - ((want >> shift) & 0xFF);
        squares += d * d;
      }
    }
  }
  const double psnr = 10 * std::log10(255.0 * 255.0 * 3 * w * h / std::max(squares, 1.0));
  if (psnr < v.minPsnr) return testing::AssertionFailure() << "PSNR " << psnr << " dB";
  return testing::AssertionSuccess();
}

class SeeThroughVariantTest : public testing::TestWithParam<SeeThrough> {};

TEST_P(SeeThroughVariantTest, ShowsOverTheBackground) {
  const base::Result<Picture> loaded = LoadPicture(Data(GetParam().file));
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  const Picture& picture = loaded.value();
  EXPECT_EQ(picture.hasAlpha, GetParam().alpha);
  if (!picture.hasAlpha) {
    EXPECT_TRUE(picture.pixels == FlattenOver(picture, 0)) << "an opaque picture's top bytes are 0";
  }
  EXPECT_TRUE(OverBackground(FlattenOver(picture, kBack), GetParam()));
}

const std::vector<const char*> kSeeThrough = {"RGBWK", "TRHBW", "WKTGB"};
const std::vector<const char*> kFourTurned = {"WKR", "KRG", "RGB", "GBW", "BWK"};

INSTANTIATE_TEST_SUITE_P(
    Pictures, SeeThroughVariantTest,
    testing::Values(
        SeeThrough{"bmp-32-alpha.bmp", kSeeThrough, true},
        // gif-transparent.gif with its transparent entry showing the background.
        SeeThrough{"gif-transparent.gif", {"TTTT", "TRTT", "TWRT"}, true},
        SeeThrough{"png-rgb.png", kFour, false}, SeeThrough{"png-interlaced.png", kFour, false, 3},
        SeeThrough{"png-grey16.png", {"KWDK", "DDWK"}, false},
        SeeThrough{"png-grey2-trns.png", {"KTEW", "WTKT"}, true},
        SeeThrough{"png-palette.png", kFour, false},
        SeeThrough{"png-palette-trns.png", kSeeThrough, true},
        SeeThrough{"png-rgba.png", kSeeThrough, true},
        SeeThrough{"png-rgba16-interlaced.png", kSeeThrough, true, 2},
        SeeThrough{"png-grey-alpha.png", {"KWTK", "WTKT"}, true},
        // The default image of an animation whose second frame is black.
        SeeThrough{"png-animated.png", kFour, false},
        SeeThrough{"webp-lossless.webp", kSeeThrough, true},
        SeeThrough{"webp-named.jpg", kSeeThrough, true},
        // The first of two frames.
        SeeThrough{"webp-animated.webp", kSeeThrough, true},
        // Lossy WebP halves the colour's resolution, which blurs the edges between saturated
        // colours: a wrong channel or a lost opacity would give far less than 22 dB.
        SeeThrough{"webp-lossy.webp", kSeeThrough, true, 16, 22},
        SeeThrough{"heic-alpha.heic", kSeeThrough, true, 16, 30},
        SeeThrough{"heic-10bit.heic", kSeeThrough, true, 16, 30},
        SeeThrough{"avif-alpha.avif", kSeeThrough, true, 16, 30},
        // kFour stored with the orientation "turned 90 degrees clockwise": in the HEIF file's
        // own transforms, in the others' EXIF block.
        SeeThrough{"heic-turned.heic", kFourTurned, false, 16, 30},
        SeeThrough{"png-meta.png", kFourTurned, false},
        SeeThrough{"webp-meta.webp", kFourTurned, false}));

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The profile and EXIF block a file carries, as stored (a WebP's EXIF without the "Exif\0\0"
// before it); none from a HEIF file, whose orientation is applied already.
TEST(PictureMetadata, IsKeptAsStored) {
  std::string icc = std::string("\0\0\1\x90", 4);
  for (int i = 0; i < 12; ++i) icc += "not a real profile, kept as it is";
  const std::string exif("MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 26);
  const auto text = [](const std::vector<std::uint8_t>& b) {
    return std::string(b.begin(), b.end());
  };
  for (const char* name : {"png-meta.png", "webp-meta.webp", "heic-turned.heic"}) {
    const base::Result<Picture> stored =
        DecodePicture(FileBytes(Data(name)), {kMaxPicturePixels, 1 << 30});
    ASSERT_TRUE(stored.ok()) << stored.message();
    EXPECT_EQ(text(stored.value().iccProfile), icc) << name;
    EXPECT_EQ(text(stored.value().exif), std::string(name).starts_with("heic") ? "" : exif) << name;
  }
  EXPECT_TRUE(DecodePicture(FileBytes(Data("png-rgb.png")), {kMaxPicturePixels, 1 << 30})
                  .value()
                  .iccProfile.empty());
}

// An opaque picture is read by the motions as it is, not copied; one with transparency is laid
// over the background.
TEST(PictureOverBackground, SharesAnOpaquePicture) {
  for (const char* name : {"png-rgb.png", "png-rgba.png"}) {
    auto picture = std::make_shared<const Picture>(LoadPicture(Data(name)).value());
    const std::shared_ptr<const render::Surface> over = SurfaceOver(picture, kBack);
    EXPECT_EQ(over.get() == &picture->pixels, !picture->hasAlpha) << name;
    EXPECT_TRUE(*over == FlattenOver(*picture, kBack)) << name;
  }
}

// A BMP file read in bands gives what decoding it whole gives, whatever the band: one row a band
// (a row longer than the band), two rows, the whole of a small picture, the program's own; a
// picture of many bands with a short last one; a run-length file, which is read whole.
TEST(PictureBands, GiveTheWholeFilePicture) {
  test::TempFolder dir;
  const std::filesystem::path large = dir / "large.bmp";
  ASSERT_TRUE(WriteBmp24(test::CoordinatePicture(700, 301), large).ok());
  std::vector<std::filesystem::path> files = {large};
  for (const auto& entry : std::filesystem::directory_iterator(KINETTA_TEST_DATA)) {
    if (entry.path().filename().string().starts_with("bmp-")) files.push_back(entry.path());
  }
  for (const std::filesystem::path& path : files) {
    const base::Result<Picture> whole =
        DecodePicture(FileBytes(path.string()), {kMaxPicturePixels, base::AvailableMemoryBytes()});
    ASSERT_TRUE(whole.ok()) << path << whole.message();
    for (const std::size_t band : {std::size_t{1}, std::size_t{8}, std::size_t{5000}, kBandBytes}) {
      const base::Result<base::RegularFile> file =
          base::RegularFile::Open(path, kMaxPictureFileBytes);
      ASSERT_TRUE(file.ok()) << path;
      const base::Result<Picture> read = ReadPicture(file.value(), band);
      ASSERT_TRUE(read.ok()) << path << ", bands of " << band << ": " << read.message();
      EXPECT_TRUE(read.value().pixels == whole.value().pixels)
          << path << ", bands of " << band << " bytes";
    }
  }
}

// The size check comes from the header, before decoding: each format is refused for want of
// memory or over the pixel cap though its data is fine.
TEST(PictureLimits, RefuseFromTheHeader) {
  for (const char* name : {"bmp-24.bmp", "gif-offset.gif", "jpeg-444.jpg", "png-rgb.png",
                           "webp-lossless.webp", "heic-alpha.heic"}) {
    const std::vector<std::uint8_t> file = FileBytes(Data(name));
    const base::Result<Picture> fits = DecodePicture(file, {kMaxPicturePixels, 1 << 20});
    EXPECT_TRUE(fits.ok()) << name << fits.message();
    const base::Result<Picture> memory = DecodePicture(file, {kMaxPicturePixels, 40});
    EXPECT_EQ(memory.message(), "メモリが足りません。約 1 MiB 要りますが、使えるのは約 0 MiB です")
        << name;
    const base::Result<Picture> pixels = DecodePicture(file, {11, 1 << 20});
    EXPECT_EQ(pixels.message().rfind("画像が大きすぎます。", 0), 0u) << name << pixels.message();
  }
}

// A JPEG keeps its EXIF block and its profile, joined from two segments, for loading to apply
// (the command line's tests check the result); a picture without them loads as it decodes, byte
// for byte.
TEST(PictureMetadata, IsKeptForLoadingToApply) {
  const base::Result<Picture> stored =
      DecodePicture(FileBytes(Data("jpeg-adobe-rgb.jpg")), {kMaxPicturePixels, 1 << 30});
  ASSERT_TRUE(stored.ok()) << stored.message();
  EXPECT_EQ(ExifOrientation(stored.value().exif), 6);
  EXPECT_EQ(stored.value().iccProfile.size(), 18604u);  // colord's Adobe RGB (1998)
  for (const char* name : {"jpeg-444.jpg", "jpeg-grey.jpg", "jpeg-cmyk.jpg", "good.gif",
                           "png-rgba.png", "webp-lossless.webp"}) {
    const base::Result<Picture> decoded =
        DecodePicture(FileBytes(Data(name)), {kMaxPicturePixels, 1 << 30});
    ASSERT_TRUE(decoded.ok() && decoded.value().iccProfile.empty()) << name;
    EXPECT_TRUE(LoadPicture(Data(name)).value().pixels == decoded.value().pixels) << name;
  }
}

// A picture no longer wanted stops decoding.
TEST(PictureLimits, StopFlagStopsAJpeg) {
  const std::atomic<bool> stop{true};
  const base::Result<Picture> stopped =
      DecodePicture(FileBytes(Data("jpeg-444.jpg")), {kMaxPicturePixels, 1 << 20, &stop});
  EXPECT_EQ(stopped.cause(), base::Cause::Aborted);
}

// A 256 x 256 JPEG's first look: reduced as far as still fills the bound along the side that
// limits it, its quadrants in place; none where it would gain nothing, for a format without a
// hook, and for a file the whole reading refuses.
TEST(QuickLook, ReducesAsFarAsTheBoundAllows) {
  struct Case {
    const char* file;
    Bound bound;
    int width;  // of the first look; 0 for none
  };
  for (const Case& c :
       {Case{"jpeg-large.jpg", {40, 40}, 64}, Case{"jpeg-large.jpg", {300, 100}, 128},
        Case{"jpeg-large.jpg", {200, 200}, 0}, Case{"bmp-24.bmp", {1, 1}, 0},
        Case{"broken-jpeg-cut-in-scan.jpg", {1, 1}, 0}}) {
    const std::optional<QuickLook> look = ReadQuickLook(Data(c.file), c.bound);
    ASSERT_EQ(look.has_value(), c.width > 0) << c.file << " in " << c.bound.width;
    if (!look) continue;
    EXPECT_EQ(look->width, 256);
    EXPECT_EQ(look->height, 256);
    EXPECT_TRUE(MatchesGrid(look->picture, Variant{c.file, {"RG", "BW"}, c.width / 2, 24}));
  }
}

}  // namespace
}  // namespace kinetta::image
