// PNG pictures through libspng: every colour type and bit depth, palettes and their
// transparency (tRNS), interlaced pictures; 16-bit samples are reduced to 8 by rounding. An
// animated PNG gives its default image. The embedded ICC profile (iCCP, decompressed) and the
// EXIF block (eXIf) are kept as stored; gamma and chromaticity chunks are not applied, the
// picture is taken as sRGB. Rows are decoded one at a time straight into the picture, and the
// chunks the library keeps beside it (texts, the profile) are bounded, so that a small file that
// inflates to gigabytes is refused rather than unpacked.
#include <spng.h>

#include <array>
#include <memory>
#include <vector>

#include "base/messages.h"
#include "image/picture_decoders.h"

namespace kinetta::image {

namespace {

// The most one compressed chunk (a profile, a text) may inflate to, and all such chunks
// together: profiles are a few kilobytes, rarely a megabyte.
constexpr std::size_t kMostChunkBytes = std::size_t{16} << 20;
constexpr std::size_t kMostKeptBytes = std::size_t{32} << 20;

// The first column and the column step of each interlace pass.
constexpr std::array<int, 7> kPassStart = {0, 4, 0, 2, 0, 1, 0};
constexpr std::array<int, 7> kPassStep = {8, 8, 4, 4, 2, 2, 1};

struct ContextFree {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

base::Status Refusal(int error) {
  switch (error) {
    case SPNG_IO_EOF:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT:
      return DataCutShort("PNG");
    case SPNG_EMEM:
      return base::OutOfMemory();
    case SPNG_ECHUNK_LIMITS:
      return VariantUnsupported("PNG");
    default:
      return DataBroken("PNG");
  }
}

// A 16-bit sample to 8 bits, to the nearest (65535 is 255 x 257).
std::uint32_t Reduce(std::uint16_t v) { return (static_cast<std::uint32_t>(v) + 128) / 257; }

// The pixels of one pass's row, decoded at 16 bits a sample, into the picture's row.
void PutWideRow(const std::vector<std::uint16_t>& wide, int start, int step, int width,
                std::uint32_t* out) {
  for (int x = start; x < width; x += step) {
    const std::uint16_t* p = wide.data() + 4 * static_cast<std::size_t>(x);
    out[x] = Reduce(p[0]) | (Reduce(p[1]) << 8) | (Reduce(p[2]) << 16) | (Reduce(p[3]) << 24);
  }
}

// Every row, in the order the file stores them (pass by pass when interlaced).
base::Status DecodeRows(spng_ctx* ctx, const spng_ihdr& ihdr, render::Surface& pixels) {
  const bool wide = ihdr.bit_depth == 16;
  const int width = pixels.width();
  std::vector<std::uint16_t> wideRow(wide ? 4 * static_cast<std::size_t>(width) : 0);
  for (;;) {
    spng_row_info row{};
    if (int error = spng_get_row_info(ctx, &row)) return Refusal(error);
    if (row.row_num >= ihdr.height) return DataBroken("PNG");
    std::uint32_t* out = pixels.Row(static_cast<int>(row.row_num));
    const int error = wide ? spng_decode_row(ctx, wideRow.data(), wideRow.size() * 2)
                           : spng_decode_row(ctx, out, static_cast<std::size_t>(width) * 4);
    if (error != 0 && error != SPNG_EOI) return Refusal(error);
    if (wide) {
      const bool interlaced = ihdr.interlace_method != SPNG_INTERLACE_NONE;
      const auto pass = static_cast<std::size_t>(interlaced ? row.pass : 6);
      PutWideRow(wideRow, kPassStart[pass], kPassStep[pass], width, out);
    }
    if (error == SPNG_EOI) return base::Status::Ok();
  }
}

// The profile and EXIF block, when the file has them.
void KeepMetadata(spng_ctx* ctx, Picture& picture) {
  spng_iccp iccp{};
  if (spng_get_iccp(ctx, &iccp) == 0 && iccp.profile != nullptr) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(iccp.profile);
    picture.iccProfile.assign(bytes, bytes + iccp.profile_len);
  }
  spng_exif exif{};
  if (spng_get_exif(ctx, &exif) == 0 && exif.data != nullptr) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(exif.data);
    picture.exif.assign(bytes, bytes + exif.length);
  }
}

}  // namespace

base::Result<Picture> DecodePng(PictureBytes file, const DecodeLimits& limits) {
  Context ctx(spng_ctx_new(0));
  if (!ctx) return base::OutOfMemory();
  spng_set_chunk_limits(ctx.get(), kMostChunkBytes, kMostKeptBytes);
  spng_set_png_buffer(ctx.get(), file.data(), file.size());
  spng_ihdr ihdr{};
  // The signature and header alone: the chunks that follow are read once the size fits.
  if (int error = spng_get_ihdr(ctx.get(), &ihdr)) return Refusal(error);
  // The library's rows (the stored one and the one before it, the unpacked one) and its
  // inflater beside ours: at most 8 bytes a pixel each.
  const std::uint64_t workBytes = std::uint64_t{40} * ihdr.width + (std::uint64_t{256} << 10);
  const base::Status fits = SizeFits(ihdr.width, ihdr.height, workBytes, limits);
  if (!fits.ok()) return fits;
  const int format = ihdr.bit_depth == 16 ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
  // Reads the chunks up to the pixel data, inflating a profile within its limit.
  if (int error = spng_decode_image(ctx.get(), nullptr, 0, format,
                                    SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE)) {
    return Refusal(error);
  }
  Picture picture = PictureOf(
      render::Surface::Unwritten(static_cast<int>(ihdr.width), static_cast<int>(ihdr.height)));
  if (base::Status rows = DecodeRows(ctx.get(), ihdr, picture.pixels); !rows.ok()) return rows;
  // The chunks after the pixel data, to the end of the file's chunks.
  if (int error = spng_decode_chunks(ctx.get())) return Refusal(error);
  KeepMetadata(ctx.get(), picture);
  SettleOpacity(picture);
  return picture;
}

}  // namespace kinetta::image
