#include "animation_decoder.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "render/transparency.h"

namespace kinetta::test {

namespace {

render::Colour Pack(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The loop count of a NETSCAPE2.0 application block among `blocks`, or -1.
int LoopCount(const ExtensionBlock* blocks, int count) {
  for (int i = 0; i + 1 < count; ++i) {
    if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount == 11 &&
        std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 &&
        blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE && blocks[i + 1].ByteCount >= 3 &&
        blocks[i + 1].Bytes[0] == 1) {
      return blocks[i + 1].Bytes[1] | (blocks[i + 1].Bytes[2] << 8);
    }
  }
  return -1;
}

}  // namespace

DecodedAnimation DecodeGif(const std::filesystem::path& file) {
  DecodedAnimation out;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
  if (gif == nullptr) {
    out.error = GifErrorString(error);
    return out;
  }
  if (DGifSlurp(gif) == GIF_ERROR) {
    out.error = GifErrorString(gif->Error);
    DGifCloseFile(gif, &error);
    return out;
  }
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.loopCount = LoopCount(gif->ExtensionBlocks, gif->ExtensionBlockCount);
  // The screen starts clear, as a browser's does.
  render::Surface canvas(out.width, out.height);
  for (int y = 0; y < out.height; ++y) {
    std::fill_n(canvas.Row(y), out.width, static_cast<std::uint32_t>(render::kClear));
  }
  // Draws frame f over the screen; what it stores goes to `stored`, and the screen as shown
  // to `shown`, before the frame's disposal.
  const auto draw = [&](int f, std::vector<std::uint8_t>& stored, render::Surface& shown) {
    const SavedImage& image = gif->SavedImages[f];
    if (out.loopCount < 0)
      out.loopCount = LoopCount(image.ExtensionBlocks, image.ExtensionBlockCount);
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, f, &gcb);
    const GifImageDesc& d = image.ImageDesc;
    const ColorMapObject* map = d.ColorMap != nullptr ? d.ColorMap : gif->SColorMap;
    const render::Surface before = canvas;
    stored.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
        if (index == gcb.TransparentColor) continue;
        const int cx = d.Left + x, cy = d.Top + y;
        if (map == nullptr || index >= map->ColorCount || cx >= out.width || cy >= out.height) {
          continue;
        }
        const GifColorType c = map->Colors[index];
        canvas.PSet(cx, cy, Pack(c.Red, c.Green, c.Blue));
        stored[static_cast<std::size_t>(cy) * out.width + cx] = 1;
      }
    }
    shown = canvas;
    // What the next frame is drawn over.
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      for (int y = d.Top; y < d.Top + d.Height && y < out.height; ++y) {
        for (int x = d.Left; x < d.Left + d.Width && x < out.width; ++x) {
          canvas.Row(y)[x] = static_cast<std::uint32_t>(render::kClear);
        }
      }
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
      canvas = before;
    }
    return gcb.DelayTime;
  };
  for (int f = 0; f < gif->ImageCount; ++f) {
    std::vector<std::uint8_t> stored;
    render::Surface shown;
    out.delays.push_back(draw(f, stored, shown));
    out.frames.push_back(std::move(shown));
    out.stored.push_back(std::move(stored));
  }
  if (gif->ImageCount > 0) {
    std::vector<std::uint8_t> stored;
    draw(0, stored, out.looped);
  }
  DGifCloseFile(gif, &error);
  out.ok = true;
  return out;
}

DecodedAnimation DecodeWebp(const std::filesystem::path& file) {
  DecodedAnimation out;
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) {
    out.error = "libwebp version";
    return out;
  }
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (decoder == nullptr) {
    out.error = "not an animated WebP";
    return out;
  }
  WebPAnimInfo info;
  WebPAnimDecoderGetInfo(decoder, &info);
  out.width = static_cast<int>(info.canvas_width);
  out.height = static_cast<int>(info.canvas_height);
  out.loopCount = static_cast<int>(info.loop_count);
  int previous = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    std::uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestamp)) {
      out.error = "frame " + std::to_string(out.frames.size());
      WebPAnimDecoderDelete(decoder);
      return out;
    }
    // A frame's timestamp is the time it ends.
    out.delays.push_back(timestamp - previous);
    previous = timestamp;
    render::Surface frame(out.width, out.height, 0);
    for (int y = 0; y < out.height; ++y) {
      for (int x = 0; x < out.width; ++x) {
        const std::uint8_t* p = rgba + (static_cast<std::size_t>(y) * out.width + x) * 4;
        frame.Row(y)[x] =
            static_cast<std::uint32_t>(render::WithOpacity(Pack(p[0], p[1], p[2]), p[3]));
      }
    }
    out.frames.push_back(std::move(frame));
  }
  WebPAnimDecoderDelete(decoder);
  out.ok = true;
  return out;
}

double Psnr(const std::vector<render::Surface>& shown,
            const std::vector<render::Surface>& expected) {
  double sum = 0;
  double samples = 0;
  for (std::size_t f = 0; f < shown.size() && f < expected.size(); ++f) {
    const render::Surface& a = shown[f];
    const render::Surface& b = expected[f];
    for (int y = 0; y < a.height() && y < b.height(); ++y) {
      const std::uint32_t* ra = a.Row(y);
      const std::uint32_t* rb = b.Row(y);
      for (int x = 0; x < a.width() && x < b.width(); ++x) {
        for (int shift = 0; shift < 24; shift += 8) {
          const double d = static_cast<double>((ra[x] >> shift) & 0xFF) -
                           static_cast<double>((rb[x] >> shift) & 0xFF);
          sum += d * d;
        }
        samples += 3;
      }
    }
  }
  if (sum == 0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 / (sum / samples));
}

}  // namespace kinetta::test
