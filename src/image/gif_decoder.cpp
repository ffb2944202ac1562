// GIF pictures through giflib: the first image, drawn on the logical screen. The screen's size
// is the picture's size (the image's own extent when the screen declares none); the image is
// clipped to it. When the image has a transparent colour, its pixels and the screen outside the
// image are transparent (keeping that entry's colour beneath); otherwise pixels outside the image
// take the screen's background colour. An index outside its colour table, or a background that
// shows with no colour to give it, is refused.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "image/picture_decoders.h"

namespace kinetta::image {

namespace {

struct MemoryReader {
  PictureBytes file;
  std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t n =
      std::min(static_cast<std::size_t>(std::max(wanted, 0)), reader->file.size() - reader->at);
  std::memcpy(out, reader->file.data() + reader->at, n);
  reader->at += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

base::Status Refusal(int error) {
  switch (error) {
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
      return DataCutShort("GIF");
    case D_GIF_ERR_NOT_ENOUGH_MEM:
      return base::OutOfMemory();
    default:
      return DataBroken("GIF");
  }
}

// The row of the image that the n-th decoded line fills: in an interlaced image, every eighth
// row from 0, every eighth from 4, every fourth from 2, then every second from 1.
int RowOfLine(int n, int height, bool interlaced) {
  if (!interlaced) return n;
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const int rows =
        height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= rows;
  }
  return -1;
}

// Reads the extensions up to the first image descriptor, keeping the transparent index of the
// last graphic control block. False at the end of the file or on an error.
bool SkipToImage(GifFileType* gif, int& transparent) {
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageHeader(gif) == GIF_OK;
    if (type != EXTENSION_RECORD_TYPE) return false;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    GraphicsControlBlock control{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      transparent = control.TransparentColor;
    }
    while (block) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
  }
}

// The part of the image on the screen, as colour indices (one byte a pixel).
struct Visible {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::unique_ptr<GifPixelType[]> indices;  // taken from the system only as lines are stored
  int width() const { return right - left; }
  std::size_t Offset(int x, int y) const {
    return static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width()) +
           static_cast<std::size_t>(x - left);
  }
};

// Decodes every line of the image, checking each index against the colour table, and keeps the
// part that falls on the screen. The last line also reads the image's closing blocks, so a file
// cut anywhere in its image data fails here.
base::Status ReadImage(GifFileType* gif, int colours, Visible& v) {
  const GifImageDesc& image = gif->Image;
  std::vector<GifPixelType> line(static_cast<std::size_t>(image.Width));
  v.indices = std::make_unique_for_overwrite<GifPixelType[]>(
      static_cast<std::size_t>(v.width()) * static_cast<std::size_t>(v.bottom - v.top));
  for (int n = 0; n < image.Height; ++n) {
    if (DGifGetLine(gif, line.data(), image.Width) == GIF_ERROR) {
      return Refusal(gif->Error);
    }
    if (std::any_of(line.begin(), line.end(), [&](GifPixelType i) { return i >= colours; })) {
      return DataBroken("GIF");
    }
    const int y = image.Top + RowOfLine(n, image.Height, image.Interlace);
    if (y < v.top || y >= v.bottom || v.width() <= 0) continue;
    std::memcpy(v.indices.get() + v.Offset(v.left, y), line.data() + (v.left - image.Left),
                static_cast<std::size_t>(v.width()));
  }
  return base::Status::Ok();
}

std::uint32_t ColourOf(const GifColorType& c) { return PackRgb(c.Red, c.Green, c.Blue); }

// Whether the image has a transparent colour within its table.
bool HasTransparency(const ColorMapObject* map, int transparent) {
  return transparent >= 0 && transparent < map->ColorCount;
}

// The colour of the screen outside the image: the transparent entry's when the image has one
// (with no opacity), else the global table's background entry; none when neither exists.
std::optional<std::uint32_t> ScreenColour(const GifFileType* gif, const ColorMapObject* map,
                                          int transparent) {
  if (HasTransparency(map, transparent)) return ColourOf(map->Colors[transparent]);
  const ColorMapObject* global = gif->SColorMap;
  if (global && gif->SBackGroundColor < global->ColorCount) {
    return ColourOf(global->Colors[gif->SBackGroundColor]);
  }
  return std::nullopt;
}

// The screen with the visible part of the image on it. With a transparent colour, every other
// entry is marked opaque in the top byte; without one the top bytes stay 0.
render::Surface Compose(const Visible& v, const ColorMapObject* map, int transparent,
                        std::uint32_t screen, int width, int height) {
  const bool seeThrough = HasTransparency(map, transparent);
  std::vector<std::uint32_t> colours(static_cast<std::size_t>(map->ColorCount));
  for (std::size_t i = 0; i < colours.size(); ++i) {
    colours[i] = ColourOf(map->Colors[i]);
    if (seeThrough && static_cast<int>(i) != transparent) colours[i] |= 0xFF000000u;
  }
  render::Surface picture = render::Surface::Unwritten(width, height);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = picture.Row(y);
    if (y < v.top || y >= v.bottom) {
      std::fill_n(row, width, screen);
      continue;
    }
    std::fill_n(row, v.left, screen);
    const GifPixelType* indices = v.indices.get() + v.Offset(v.left, y);
    for (int x = v.left; x < v.right; ++x) row[x] = colours[*indices++];
    std::fill_n(row + v.right, width - v.right, screen);
  }
  return picture;
}

// Opens the file and reads up to its first image; the handle, or the reason there is none.
base::Result<GifHandle> OpenFirstImage(PictureBytes file, MemoryReader& reader, int& transparent) {
  // giflib reports a file cut inside the screen descriptor or its colour table as a broken
  // descriptor, so that length is checked here to say what is wrong.
  const std::size_t tableBytes =
      file.size() > 10 && (file[10] & 0x80) ? 3u << ((file[10] & 7) + 1) : 0;
  if (file.size() < 13 + tableBytes) return DataCutShort("GIF");
  int error = 0;
  GifHandle gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) return Refusal(error);
  if (!SkipToImage(gif.get(), transparent)) {
    return Refusal(gif->Error);
  }
  return gif;
}

}  // namespace

base::Result<Picture> DecodeGif(PictureBytes file, const DecodeLimits& limits) {
  MemoryReader reader{file};
  int transparent = NO_TRANSPARENT_COLOR;
  base::Result<GifHandle> opened = OpenFirstImage(file, reader, transparent);
  if (!opened.ok()) return opened.status();
  GifFileType* gif = opened.value().get();
  const GifImageDesc& image = gif->Image;
  const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
  if (image.Width < 1 || image.Height < 1 || image.Left < 0 || image.Top < 0 || !map ||
      map->ColorCount < 1 ||
      static_cast<long long>(image.Width) * image.Height > limits.maxPixels) {
    return DataBroken("GIF");
  }
  const int width = gif->SWidth > 0 ? gif->SWidth : image.Left + image.Width;
  const int height = gif->SHeight > 0 ? gif->SHeight : image.Top + image.Height;
  Visible v;
  v.left = std::min(image.Left, width);
  v.top = std::min(image.Top, height);
  v.right = std::min(image.Left + image.Width, width);
  v.bottom = std::min(image.Top + image.Height, height);
  const base::Status fits = SizeFits(
      width, height,
      static_cast<std::uint64_t>(v.width()) * static_cast<std::uint64_t>(v.bottom - v.top), limits);
  if (!fits.ok()) return fits;
  const std::optional<std::uint32_t> screen = ScreenColour(gif, map, transparent);
  const bool covered = v.left == 0 && v.top == 0 && v.right == width && v.bottom == height;
  if (!covered && !screen) return DataBroken("GIF");
  const base::Status read = ReadImage(gif, map->ColorCount, v);
  if (!read.ok()) return read;
  Picture picture = PictureOf(Compose(v, map, transparent, screen.value_or(0), width, height));
  if (HasTransparency(map, transparent)) SettleOpacity(picture);
  return picture;
}

}  // namespace kinetta::image
