// HEIC and AVIF pictures through libheif: the primary image with the rotation, mirroring and
// cropping its file asks for applied by the library, its alpha kept, samples of more than 8 bits
// reduced to 8 by rounding. The ICC profile is kept as stored. The EXIF block is not kept: its
// orientation would turn the picture a second time, after the library's own rotation.
#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "image/picture_decoders.h"

namespace kinetta::image {

namespace {

// The brands of an ISO media file whose primary item is a HEIF still picture: AV1 coded, HEVC
// coded, and either.
constexpr std::string_view kAvifBrands[] = {"avif", "avis"};
constexpr std::string_view kHeicBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx"};
constexpr std::string_view kHeifBrands[] = {"mif1", "msf1"};

std::uint32_t BigEndian32(PictureBytes file, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | file[at + i];
  return v;
}

// The brands of the file type box: the major brand, then the compatible ones; empty when the file
// does not open with one.
std::vector<std::string_view> Brands(PictureBytes file) {
  if (file.size() < 16 || std::memcmp(file.data() + 4, "ftyp", 4) != 0) return {};
  const std::size_t boxBytes = std::min<std::size_t>(BigEndian32(file, 0), file.size());
  std::vector<std::string_view> brands;
  for (std::size_t at = 8; at + 4 <= boxBytes; at += at == 8 ? 8 : 4) {
    brands.emplace_back(reinterpret_cast<const char*>(file.data() + at), 4);
  }
  return brands;
}

template <std::size_t N>
bool AnyOf(const std::vector<std::string_view>& brands, const std::string_view (&wanted)[N]) {
  return std::any_of(brands.begin(), brands.end(), [&](std::string_view b) {
    return std::find(std::begin(wanted), std::end(wanted), b) != std::end(wanted);
  });
}

// The name the refusals give the file: AVIF by its major brand or, failing a HEVC brand, by a
// compatible one; HEIC otherwise.
std::string_view FormatName(PictureBytes file) {
  const std::vector<std::string_view> brands = Brands(file);
  const bool avif = (!brands.empty() && AnyOf({brands.front()}, kAvifBrands)) ||
                    (AnyOf(brands, kAvifBrands) && !AnyOf(brands, kHeicBrands));
  return avif ? "AVIF" : "HEIC";
}

struct ContextFree {
  void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
  void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageFree {
  void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

base::Status Refusal(const heif_error& error, std::string_view format) {
  if (error.subcode == heif_suberror_End_of_data) return DataCutShort(format);
  switch (error.code) {
    case heif_error_Memory_allocation_error:
      if (error.subcode == heif_suberror_Security_limit_exceeded) {
        return VariantUnsupported(format);
      }
      return base::OutOfMemory();
    case heif_error_Unsupported_filetype:
    case heif_error_Unsupported_feature:
      return VariantUnsupported(format);
    default:
      return DataBroken(format);
  }
}

// What the library takes beside the picture, for a stored image of width x height (before it is
// turned or cropped) and samples of `sampleBytes`: the coded planes (up to three full ones and the
// alpha plane), the interleaved picture it converts them to, and a second one while it turns or
// crops that. An image it composes from tiles may reach `side` x `side` whatever the file
// declares, in three planes of up to 2 bytes a sample and the interleaved picture.
std::uint64_t WorkBytes(int width, int height, int side, int sampleBytes) {
  const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  const auto square = static_cast<std::uint64_t>(side) * static_cast<std::uint64_t>(side);
  return std::max(12 * pixels * static_cast<std::uint64_t>(sampleBytes), 10 * square);
}

// The library's interleaved picture into the surface: RGB or RGBA, a byte a sample or (wide)
// two little-endian bytes holding `bits` bits, reduced to 8 by rounding; premultiplied colours
// divided back out. Without alpha the top bytes are 0.
void PutPixels(const std::uint8_t* plane, int stride, bool wide, int bits, bool alpha,
               bool premultiplied, render::Surface& pixels) {
  const int channels = alpha ? 4 : 3;
  const std::uint32_t most = (1u << bits) - 1;
  for (int y = 0; y < pixels.height(); ++y) {
    const std::uint8_t* in = plane + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* out = pixels.Row(y);
    for (int x = 0; x < pixels.width(); ++x) {
      std::uint32_t v[4] = {0, 0, 0, 255};
      for (int c = 0; c < channels; ++c) {
        const std::size_t at = static_cast<std::size_t>(x * channels + c) * (wide ? 2 : 1);
        const std::uint32_t sample = wide ? in[at] | (in[at + 1] << 8) : in[at];
        v[c] = wide ? (sample * 255 + most / 2) / most : sample;
      }
      if (premultiplied && v[3] < 255) {
        for (int c = 0; c < 3; ++c) {
          v[c] = v[3] == 0 ? 0 : std::min<std::uint32_t>(255, (v[c] * 255 + v[3] / 2) / v[3]);
        }
      }
      out[x] = v[0] | (v[1] << 8) | (v[2] << 16) | (alpha ? v[3] << 24 : 0);
    }
  }
}

// The ICC profile, when the picture has one rather than colour codes or nothing.
std::vector<std::uint8_t> Profile(const heif_image_handle* handle) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
  std::vector<std::uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
  if (profile.empty() ||
      heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok) {
    return {};
  }
  return profile;
}

}  // namespace

bool IsHeifFile(PictureBytes file) {
  const std::vector<std::string_view> brands = Brands(file);
  return AnyOf(brands, kAvifBrands) || AnyOf(brands, kHeicBrands) || AnyOf(brands, kHeifBrands);
}

base::Result<Picture> DecodeHeif(PictureBytes file, const DecodeLimits& limits) {
  const std::string_view format = FormatName(file);
  const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  if (!context) return base::OutOfMemory();
  heif_context_set_maximum_image_size_limit(context.get(), static_cast<int>(kMaxPictureSide));
  heif_error error =
      heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr);
  if (error.code != heif_error_Ok) return Refusal(error, format);
  heif_image_handle* primary = nullptr;
  error = heif_context_get_primary_image_handle(context.get(), &primary);
  const std::unique_ptr<heif_image_handle, HandleFree> handle(primary);
  if (error.code != heif_error_Ok) return Refusal(error, format);

  // The size after the file's rotation and cropping.
  const int width = heif_image_handle_get_width(primary);
  const int height = heif_image_handle_get_height(primary);
  const bool wide = heif_image_handle_get_luma_bits_per_pixel(primary) > 8;
  const bool alpha = heif_image_handle_has_alpha_channel(primary) != 0;
  const int storedWidth = heif_image_handle_get_ispe_width(primary);
  const int storedHeight = heif_image_handle_get_ispe_height(primary);
  // The library holds an image it composes (a grid of tiles) to no side longer than this, which
  // it compares with its own sizes alone.
  const int side = std::max({width, height, storedWidth, storedHeight});
  const base::Status fits =
      SizeFits(width, height, WorkBytes(storedWidth, storedHeight, side, wide ? 2 : 1), limits);
  if (!fits.ok()) return fits;
  heif_context_set_maximum_image_size_limit(context.get(), side + 1);

  // The library's strict decoding is left off: in this version it only checks the colour codes
  // of the coded picture, and its AV1 decoders lose memory when they refuse them.
  const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  const heif_chroma chroma =
      alpha ? (wide ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RGBA)
            : (wide ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB);
  heif_image* decoded = nullptr;
  error = heif_decode_image(primary, &decoded, heif_colorspace_RGB, chroma, options.get());
  const std::unique_ptr<heif_image, ImageFree> image(decoded);
  // Past the limit set above, the file composes an image larger than it declares.
  if (error.subcode == heif_suberror_Security_limit_exceeded) return DataBroken(format);
  if (error.code != heif_error_Ok) return Refusal(error, format);
  int stride = 0;
  const std::uint8_t* plane =
      heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
  const int bits = heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved);
  if (plane == nullptr || bits < 1 || bits > 16 || wide != (bits > 8) ||
      heif_image_get_width(decoded, heif_channel_interleaved) != width ||
      heif_image_get_height(decoded, heif_channel_interleaved) != height) {
    return DataBroken(format);
  }
  Picture picture = PictureOf(render::Surface::Unwritten(width, height));
  PutPixels(plane, stride, wide, bits, alpha,
            alpha && heif_image_handle_is_premultiplied_alpha(primary), picture.pixels);
  picture.iccProfile = Profile(primary);
  if (alpha) SettleOpacity(picture);
  return picture;
}

}  // namespace kinetta::image
