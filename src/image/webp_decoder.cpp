// WebP pictures through libwebp: lossy and lossless, with their alpha. An animated WebP gives its
// first frame as it shows on the canvas. The ICC profile (ICCP) and the EXIF block of the extended
// format are kept as stored. A still picture is decoded straight into its surface.
#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>
#include <vector>

#include "base/messages.h"
#include "image/picture_decoders.h"

namespace kinetta::image {

namespace {

struct DemuxFree {
  void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimationFree {
  void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

base::Status Refusal(VP8StatusCode status) {
  switch (status) {
    case VP8_STATUS_NOT_ENOUGH_DATA:
      return DataCutShort("WebP");
    case VP8_STATUS_OUT_OF_MEMORY:
      return base::OutOfMemory();
    case VP8_STATUS_UNSUPPORTED_FEATURE:
      return VariantUnsupported("WebP");
    default:
      return DataBroken("WebP");
  }
}

// What the library takes beside the picture: a lossless picture is decoded whole into its own
// buffer of 4 bytes a pixel first; a lossy one keeps an alpha plane and some rows of its
// planes; an animation keeps two canvases besides the frame it decodes.
std::uint64_t WorkBytes(const WebPBitstreamFeatures& f) {
  const auto pixels = static_cast<std::uint64_t>(f.width) * static_cast<std::uint64_t>(f.height);
  const std::uint64_t rows = std::uint64_t{64} * static_cast<std::uint64_t>(f.width) + (256u << 10);
  if (f.has_animation) return 12 * pixels + rows;
  if (f.format == 1) return (f.has_alpha ? pixels : 0) + rows;
  return 5 * pixels + rows;
}

// A chunk of the extended format, when the file has it.
std::vector<std::uint8_t> Chunk(WebPDemuxer* demux, const char* name) {
  WebPChunkIterator chunk{};
  std::vector<std::uint8_t> bytes;
  if (WebPDemuxGetChunk(demux, name, 1, &chunk)) {
    bytes.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
  }
  WebPDemuxReleaseChunkIterator(&chunk);
  return bytes;
}

// The EXIF block from its TIFF header on: some writers put the "Exif\0\0" of JPEG's APP1 before
// it. A block with no TIFF header is not kept.
std::vector<std::uint8_t> TiffBlock(std::vector<std::uint8_t> exif) {
  constexpr std::uint8_t kJpegPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
  if (exif.size() >= sizeof kJpegPrefix &&
      std::memcmp(exif.data(), kJpegPrefix, sizeof kJpegPrefix) == 0) {
    exif.erase(exif.begin(), exif.begin() + sizeof kJpegPrefix);
  }
  const bool tiff = exif.size() >= 4 && (std::memcmp(exif.data(), "II*\0", 4) == 0 ||
                                         std::memcmp(exif.data(), "MM\0*", 4) == 0);
  if (!tiff) exif.clear();
  return exif;
}

// The first frame of an animation on its canvas, which starts transparent.
base::Status DecodeFirstFrame(const WebPData& data, render::Surface& pixels) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return DataBroken("WebP");
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  const std::unique_ptr<WebPAnimDecoder, AnimationFree> decoder(
      WebPAnimDecoderNew(&data, &options));
  if (!decoder) return DataBroken("WebP");
  std::uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp)) return DataBroken("WebP");
  const std::size_t rowBytes = 4 * static_cast<std::size_t>(pixels.width());
  for (int y = 0; y < pixels.height(); ++y) {
    std::memcpy(pixels.Row(y), canvas + static_cast<std::size_t>(y) * rowBytes, rowBytes);
  }
  return base::Status::Ok();
}

// A still picture, straight into the surface: RGBA bytes are the packed colours with the
// opacity in the top byte.
base::Status DecodeStill(PictureBytes file, render::Surface& pixels) {
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return DataBroken("WebP");
  const std::size_t rowBytes = 4 * static_cast<std::size_t>(pixels.width());
  config.output.colorspace = MODE_RGBA;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = reinterpret_cast<std::uint8_t*>(pixels.Row(0));
  config.output.u.RGBA.stride = static_cast<int>(rowBytes);
  config.output.u.RGBA.size = rowBytes * static_cast<std::size_t>(pixels.height());
  const VP8StatusCode status = WebPDecode(file.data(), file.size(), &config);
  WebPFreeDecBuffer(&config.output);
  return status == VP8_STATUS_OK ? base::Status::Ok() : Refusal(status);
}

}  // namespace

base::Result<Picture> DecodeWebp(PictureBytes file, const DecodeLimits& limits) {
  WebPBitstreamFeatures features{};
  if (VP8StatusCode status = WebPGetFeatures(file.data(), file.size(), &features);
      status != VP8_STATUS_OK) {
    return Refusal(status);
  }
  const base::Status fits = SizeFits(features.width, features.height, WorkBytes(features), limits);
  if (!fits.ok()) return fits;
  // The container read to its end first: a file cut anywhere is told as such.
  const WebPData data{file.data(), file.size()};
  WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
  const std::unique_ptr<WebPDemuxer, DemuxFree> demux(WebPDemuxPartial(&data, &state));
  if (!demux || state == WEBP_DEMUX_PARSE_ERROR) return DataBroken("WebP");
  if (state != WEBP_DEMUX_DONE) return DataCutShort("WebP");
  Picture picture = PictureOf(render::Surface::Unwritten(features.width, features.height));
  const base::Status decoded = features.has_animation ? DecodeFirstFrame(data, picture.pixels)
                                                      : DecodeStill(file, picture.pixels);
  if (!decoded.ok()) return decoded;
  const std::uint32_t flags = WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS);
  if (flags & ICCP_FLAG) picture.iccProfile = Chunk(demux.get(), "ICCP");
  if (flags & EXIF_FLAG) picture.exif = TiffBlock(Chunk(demux.get(), "EXIF"));
  SettleOpacity(picture);
  return picture;
}

}  // namespace kinetta::image
