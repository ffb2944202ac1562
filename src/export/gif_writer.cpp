// The animated GIF. An animation of at most 256 colours has them as one palette for all frames,
// kept exactly. One whose colours one palette still holds closely (a drawing) has one learnt by
// libimagequant from all of them. Otherwise each frame has its own palette: the frame's own
// colours when they are at most 255, else libimagequant's from the pixels that frame stores,
// so a frame's colours are not shared out with colours only other frames show. Each frame is mapped
// to a learnt palette with moderate error diffusion, a pixel keeping the entry of the pixel before
// it where that is nearly as near. After the first frame only the rectangle that changed is stored,
// and inside it every pixel whose picture did not change, or whose shown colour is no further than
// the palette's best, is transparent: still areas cost nothing, and runs of the transparent index
// compress to almost nothing.
//
// Frames with transparency: a GIF pixel is opaque or clear. A pixel at least half opaque is
// shown opaque, in its own colour or laid over the matte colour when one is given; the others
// are clear, drawn with the transparent index. A pixel that turns clear must be cleared on
// screen, which only a frame's disposal can do: the frame before it is then disposed to the
// background (its rectangle cleared after it is shown, grown to hold every such pixel), and the
// next frame draws again what stays visible there.
#include <gif_lib.h>
#include <libimagequant.h>
#if defined(_OPENMP)
#include <omp.h>
#endif

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/messages.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"
#include "export/gif_colours.h"
#include "export/palette_map.h"
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// How much of each pixel's error is passed on to its neighbours. With a palette made for the
// frame's own colours the nearest entry is close; more diffusion adds noise, which moves every
// pixel further from the frame and costs bytes (on photo-like frames 0.85 cost over 1 dB and
// 8 % more bytes than 0.1). Much below 0.3, though, smooth areas of a photo break into flat
// patches with visible edges.
constexpr float kDiffusion = 0.3f;

// A pixel takes the palette entry of the pixel before it when that is within this squared
// distance (7 levels of one channel) of its best: the longer runs of one index cut 5 to 10 % of
// the bytes on smooth gradients and photo-like texture for a few hundredths of a dB, as the
// diffusion passes the difference on. Much more draws visible streaks along the rows. Not when
// the palette is kept exactly.
constexpr int kRunSlack = 48;

// A frame's palette is learnt from every other row and column of the pixels it stores: a quarter
// of them gives the same palette for all practical purposes, in a quarter of the time. Sparser
// samples miss colours that small areas hold.
constexpr int kHistogramStep = 2;

// libimagequant's speed, 1 (slowest, best) to 10. 7 comes within 0.2-0.4 dB of 2 on these
// frames in a third of the time; 8 and above lose over 1 dB on smooth gradients.
constexpr int kQuantizerSpeed = 7;

// The first frame is stored whole, and wherever the picture stays still (the top of the water,
// a background) it is what the viewer sees for the whole animation: its palette is learnt from
// every pixel at a slower speed, and it is mapped without the run slack. One frame of many, it
// costs little time; on the water it is worth 1 to 2 dB.
constexpr int kFirstQuantizerSpeed = 3;

// The first frame's palette is learnt from every pixel up to this many (a 3840 x 2160 frame and
// more), from the usual sample beyond.
constexpr std::size_t kWholeSampleLimit = std::size_t{1} << 24;

// The most pixels handed to libimagequant as one row of its image.
constexpr std::size_t kSampleRow = std::size_t{1} << 22;

// An animation whose colours all fit one palette closely gets one palette for all its frames:
// a drawing's flat colours, soft edges and shading number a few thousand, most of them a step
// from another, and one palette learnt from all of them with their counts holds them within a
// level or so. Frames with palettes of their own would each spend 768 bytes on a table and
// share the entries out among fewer colours for no gain; on a drawing's turning sphere the
// one palette gave 61 dB against 54 dB, in 5 % fewer bytes. Pictures with more colours than
// ColourCounter holds (photos, gradients) or whose palette's error, libimagequant's mean
// squared error, is above this (a test card's fine detail: 1.6, which own palettes bring from
// 42.8 dB to 46.6 dB) keep the palettes of their own frames.
constexpr double kSharedPaletteError = 0.5;

// The diffusion of a shared palette's error: its colours lie close to the frames', so little is
// needed; 0.15 to 0.3 keep the drawing's 61 dB, 0.75 loses 0.7 dB and 1 % more bytes.
constexpr float kSharedDiffusion = 0.15f;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
};

// The smallest rectangle holding both.
Rect Union(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

// A pixel is shown opaque from this opacity up, clear below it.
constexpr int kOpaqueFrom = 128;

// Grows a bounding box by the point (x, y).
struct Bounds {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
  void Add(int x, int y) {
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
  }
  Rect rect() const { return x1 < 0 ? Rect{} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1}; }
};

// The smallest rectangle holding every pixel where `now` differs from `before` (w x h, packed).
Rect ChangedRect(const Surface& now, const std::vector<std::uint32_t>& before, int w, int h) {
  int x0 = w, x1 = -1, y0 = h, y1 = -1;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* a = now.Row(y);
    const std::uint32_t* b = before.data() + static_cast<std::size_t>(y) * w;
    if (std::memcmp(a, b, sizeof(std::uint32_t) * w) == 0) continue;
    y0 = std::min(y0, y);
    y1 = y;
    int left = 0;
    while (a[left] == b[left]) ++left;
    int right = w - 1;
    while (a[right] == b[right]) --right;
    x0 = std::min(x0, left);
    x1 = std::max(x1, right);
  }
  if (x1 < 0) return {};
  return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

class GifEncoder final : public AnimationEncoder {
 public:
  GifEncoder(int delayCentiseconds, std::optional<render::Colour> matte)
      : delay_(delayCentiseconds), matte_(matte) {
    attr_ = liq_attr_create();
    // 255 colours: the last index of the table is the transparent one.
    liq_set_max_colors(attr_, 255);
#if defined(_OPENMP)
    // libimagequant on this thread alone. A frame's sample is small, and its threads wait for
    // each other by spinning: on a machine whose cores are busy that took half the encoding
    // time, while the next frame file is read on another core anyway.
    omp_set_num_threads(1);
#endif
  }

  ~GifEncoder() override {
    // A file given up half-way: the sink is gone, so giflib's closing bytes go nowhere.
    sink_ = nullptr;
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
    liq_attr_destroy(attr_);
  }

  // The logical screen's size is a 16-bit field.
  int MaxSide() const override { return 65535; }
  // The sample, the last frame, the shown picture and a frame with transparency made opaque or
  // clear (4 bytes each), the indices, two masks of visible pixels, and the quantizer's own
  // copies.
  int HeldBytesPerPixel() const override { return 40; }

  void Learn(const Surface& raw) override {
    const Surface& frame = Prepared(raw);
    distinct_.Add(frame);
    counter_.Add(frame);
    // Which pixels are visible, kept only for a frame with clear ones (else all are): the frame
    // before must be disposed where it shows a pixel that this one clears.
    std::vector<std::uint8_t> visible;
    if (&frame == &prepared_) {
      visible.resize(static_cast<std::size_t>(frame.width()) * frame.height());
      for (int y = 0; y < frame.height(); ++y) {
        const std::uint32_t* row = frame.Row(y);
        std::uint8_t* out = visible.data() + static_cast<std::size_t>(y) * frame.width();
        for (int x = 0; x < frame.width(); ++x) out[x] = render::IsOpaque(row[x]) ? 1 : 0;
      }
    }
    if (learnt_ == 0) {
      firstVisible_ = visible;
    } else {
      dispose_.push_back(Cleared(lastVisible_, visible, frame.width(), frame.height()));
    }
    lastVisible_ = std::move(visible);
    ++learnt_;
  }

  base::Status Start(int width, int height, int, const ByteSink& sink) override {
    width_ = width;
    height_ = height;
    sink_ = &sink;
    // The last frame is followed by the first again.
    dispose_.push_back(Cleared(lastVisible_, firstVisible_, width, height));
    firstVisible_ = {};
    lastVisible_ = {};
    frameIndex_ = 0;
    // 256 colours leave no index for the transparent one: frames then store every pixel of
    // their changed rectangle, which only works when no pixel is clear.
    perFrame_ = distinct_.overflowed() || (distinct_.size() > 255 && distinct_.sawClear());
    noKeep_ = !perFrame_ && distinct_.size() > 255;
    if (perFrame_ && !counter_.overflowed() && MakeSharedPalette()) {
      perFrame_ = false;
      diffusion_ = kSharedDiffusion;
    } else if (!perFrame_) {
      std::vector<std::uint32_t> colours = distinct_.Colours();
      if (colours.empty()) colours.push_back(0);  // every pixel of every frame is clear
      palette_ = std::make_unique<PaletteMap>(std::move(colours));
      transparent_ = static_cast<std::uint8_t>(palette_->size());
      palette_->MapClearTo(transparent_);
    }

    int gifError = 0;
    gif_ = EGifOpen(this, &GifEncoder::Output, &gifError);
    if (gif_ == nullptr) return GifFailed(gifError);
    EGifSetGifVersion(gif_, true);
    // One table for the whole file, or none when every frame brings its own.
    ColorMapObject* map = perFrame_ ? nullptr : ColourTable();
    if (!perFrame_ && map == nullptr) return OutOfMemory();
    const bool screen = EGifPutScreenDesc(gif_, width, height, 8, 0, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!screen) return GifFailed(gif_->Error);
    // The NETSCAPE2.0 block: loop count 0, play for ever.
    static const GifByteType kLoop[3] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, kLoop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
      return GifFailed(gif_->Error);
    }
    previous_.assign(static_cast<std::size_t>(width) * height, 0);
    shown_.assign(previous_.size(), render::kClear);  // a GIF's screen starts clear
    first_ = true;
    return base::Status::Ok();
  }

  base::Status Add(const Surface& raw) override {
    const Surface& frame = Prepared(raw);
    const Rect dispose =
        frameIndex_ < dispose_.size() ? dispose_[frameIndex_] : Rect{0, 0, width_, height_};
    ++frameIndex_;
    const Rect rect =
        Union(first_ ? Rect{0, 0, width_, height_} : ChangedRect(frame, previous_, width_, height_),
              dispose);
    Rect written{};
    base::Status put = rect.empty() ? PutUnchanged() : PutChanged(frame, rect, dispose, written);
    for (int y = 0; y < height_; ++y) {
      std::memcpy(previous_.data() + static_cast<std::size_t>(y) * width_, frame.Row(y),
                  sizeof(std::uint32_t) * width_);
    }
    if (!dispose.empty()) {
      // The viewer clears the frame's rectangle once it has been shown.
      for (int y = written.y; y < written.y + written.h; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * width_ + written.x;
        std::fill_n(previous_.data() + at, written.w, render::kClear);
        std::fill_n(shown_.data() + at, written.w, render::kClear);
      }
    }
    first_ = false;
    return put;
  }

  base::Status Finish() override {
    int gifError = 0;
    const int status = EGifCloseFile(gif_, &gifError);
    gif_ = nullptr;  // closed and freed even on failure
    if (status == GIF_ERROR) return GifFailed(gifError);
    return base::Status::Ok();
  }

 private:
  // The frame as the GIF can show it: unchanged when it is opaque; otherwise in prepared_, each
  // pixel opaque (its colour, or laid over the matte) or kClear.
  const Surface& Prepared(const Surface& frame) {
    bool opaque = true;
    for (int y = 0; y < frame.height() && opaque; ++y) {
      const std::uint32_t* row = frame.Row(y);
      std::uint32_t any = 0;
      for (int x = 0; x < frame.width(); ++x) any |= row[x];
      opaque = (any >> 24) == 0;
    }
    if (opaque) return frame;
    if (prepared_.width() != frame.width() || prepared_.height() != frame.height()) {
      prepared_ = Surface(frame.width(), frame.height());
    }
    for (int y = 0; y < frame.height(); ++y) {
      const std::uint32_t* in = frame.Row(y);
      std::uint32_t* out = prepared_.Row(y);
      for (int x = 0; x < frame.width(); ++x) {
        const render::Colour c = static_cast<render::Colour>(in[x]);
        render::Colour shown = render::kClear;
        if (render::OpacityOf(c) >= kOpaqueFrom) {
          shown = matte_ ? render::Over(c, *matte_) : (c & 0xFFFFFF);
        }
        out[x] = static_cast<std::uint32_t>(shown);
      }
    }
    return prepared_;
  }

  // The rectangle of the pixels visible in a frame and clear in the next (masks of visible
  // pixels; an empty mask is a frame without clear pixels).
  static Rect Cleared(const std::vector<std::uint8_t>& before,
                      const std::vector<std::uint8_t>& after, int w, int h) {
    if (after.empty()) return {};
    Bounds bounds;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (after[i] == 0 && (before.empty() || before[i] != 0)) bounds.Add(x, y);
      }
    }
    return bounds.rect();
  }

  static int Output(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* self = static_cast<GifEncoder*>(gif->UserData);
    if (self->sink_ == nullptr) return length;
    return (*self->sink_)(bytes, static_cast<std::size_t>(length)) ? length : 0;
  }

  static base::Status GifFailed(int code) {
    // A write that failed is told by the file, which knows the system's reason.
    if (code == E_GIF_ERR_WRITE_FAILED || code == E_GIF_ERR_DISK_IS_FULL) {
      return base::Status::Failed(base::Cause::Io, {});
    }
    if (code == E_GIF_ERR_NOT_ENOUGH_MEM) return OutOfMemory();
    return base::Status::Failed(base::Cause::Io, LibraryMessage(kLabel, GifErrorString(code)));
  }

  static base::Status OutOfMemory() {
    return base::Status::Failed(base::Cause::OutOfMemory,
                                EncoderMessage(kLabel, base::kOutOfMemoryMessage));
  }

  static constexpr std::string_view kLabel = "GIF";

  // The palette plus the transparent entry (when it has one), in a table whose size is a power
  // of two.
  ColorMapObject* ColourTable() const {
    int tableSize = 2;
    while (tableSize < palette_->size() + (noKeep_ ? 0 : 1)) tableSize *= 2;
    std::vector<GifColorType> colours(tableSize, GifColorType{0, 0, 0});
    for (int i = 0; i < palette_->size(); ++i) {
      const std::uint32_t c = palette_->colour(i);
      colours[i] = GifColorType{static_cast<GifByteType>(c & 0xFF),
                                static_cast<GifByteType>((c >> 8) & 0xFF),
                                static_cast<GifByteType>((c >> 16) & 0xFF)};
    }
    return GifMakeMapObject(tableSize, colours.data());
  }

  // One palette for all frames from libimagequant, learnt from every colour of the animation
  // weighed by how often it occurs; false when it would not hold them closely enough (or the
  // library failed), and the frames then have palettes of their own.
  bool MakeSharedPalette() {
    const std::vector<liq_histogram_entry> entries = counter_.Entries();
    counter_.Clear();
    liq_set_speed(attr_, kFirstQuantizerSpeed);
    liq_histogram* histogram = liq_histogram_create(attr_);
    std::vector<std::uint32_t> colours;
    liq_result* result = nullptr;
    if (histogram != nullptr &&
        liq_histogram_add_colors(histogram, attr_, entries.data(), static_cast<int>(entries.size()),
                                 0) == LIQ_OK &&
        liq_histogram_quantize(histogram, attr_, &result) == LIQ_OK) {
      const liq_palette* palette = liq_get_palette(result);
      for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color c = palette->entries[i];
        colours.push_back(c.r | (c.g << 8) | (static_cast<std::uint32_t>(c.b) << 16));
      }
      if (liq_get_quantization_error(result) > kSharedPaletteError) colours.clear();
      liq_result_destroy(result);
    }
    if (histogram != nullptr) liq_histogram_destroy(histogram);
    if (colours.empty()) return false;
    palette_ = std::make_unique<PaletteMap>(std::move(colours));
    transparent_ = static_cast<std::uint8_t>(palette_->size());
    palette_->MapClearTo(transparent_);
    return true;
  }

  // The palette of the frame's rectangle `r` from libimagequant: learnt from the pixels the
  // frame stores (all of them in the first frame, afterwards those that changed).
  base::Status MakeFramePalette(const Surface& frame, const Rect& r) {
    // A frame whose stored pixels have at most 255 colours keeps them exactly.
    ColourSet own;
    ForStored(frame, r, 1, [&own](const std::uint32_t* run, int n) { own.AddRow(run, n); });
    if (!own.overflowed()) {
      std::vector<std::uint32_t> colours = own.Colours();
      if (colours.empty()) colours.push_back(0);  // nothing visible is stored
      SetPalette(std::move(colours), 0);
      return base::Status::Ok();
    }
    const bool whole = first_ && static_cast<std::size_t>(r.w) * static_cast<std::size_t>(r.h) <=
                                     kWholeSampleLimit;
    Sample(frame, r, whole ? 1 : kHistogramStep);
    // A change of a few pixels may fall between the sampled ones: then all of them.
    if (sample_.empty()) Sample(frame, r, 1);
    std::vector<std::uint32_t> colours;
    // The pixels go in as rows of one, so that libimagequant weighs colours by their plain
    // count, as the fidelity of the frames is measured, not by the contrast around them; it
    // takes rows of at most about 8 million pixels, so a large sample goes in as several.
    liq_set_speed(attr_, first_ ? kFirstQuantizerSpeed : kQuantizerSpeed);
    liq_histogram* histogram = liq_histogram_create(attr_);
    bool added = histogram != nullptr;
    for (std::size_t at = 0; added && at < sample_.size(); at += kSampleRow) {
      const std::size_t n = std::min(kSampleRow, sample_.size() - at);
      liq_image* image =
          liq_image_create_rgba(attr_, sample_.data() + at, static_cast<int>(n), 1, 0);
      added = image != nullptr && liq_histogram_add_image(histogram, attr_, image) == LIQ_OK;
      if (image != nullptr) liq_image_destroy(image);
    }
    liq_result* result = nullptr;
    if (added && liq_histogram_quantize(histogram, attr_, &result) == LIQ_OK) {
      const liq_palette* palette = liq_get_palette(result);
      for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color c = palette->entries[i];
        colours.push_back(c.r | (c.g << 8) | (static_cast<std::uint32_t>(c.b) << 16));
      }
      liq_result_destroy(result);
    }
    if (histogram != nullptr) liq_histogram_destroy(histogram);
    if (colours.empty()) {
      return base::Status::Failed(base::Cause::Io, EncoderMessage(kLabel, kColoursNotReducedText));
    }
    SetPalette(std::move(colours), first_ ? 0 : kRunSlack);
    return base::Status::Ok();
  }

  void SetPalette(std::vector<std::uint32_t> colours, int runSlack) {
    palette_ = std::make_unique<PaletteMap>(std::move(colours), runSlack);
    transparent_ = static_cast<std::uint8_t>(palette_->size());
    palette_->MapClearTo(transparent_);
  }

  // Calls `f(run, n)` for the runs of pixels the frame may store, on every `step`th row and
  // column of the rectangle `r` (with a step of 1, runs of neighbours; else single pixels):
  // the visible ones, and after the first frame only those that changed.
  template <typename F>
  void ForStored(const Surface& frame, const Rect& r, int step, F f) const {
    for (int y = 0; y < r.h; y += step) {
      const std::uint32_t* in = frame.Row(r.y + y) + r.x;
      const std::uint32_t* was =
          previous_.data() + static_cast<std::size_t>(r.y + y) * width_ + r.x;
      int start = 0;
      for (int x = 0; x < r.w; x += step) {
        const bool stored = render::IsOpaque(in[x]) && (first_ || in[x] != was[x]);
        if (step > 1) {
          if (stored) f(in + x, 1);
          continue;
        }
        if (!stored) {
          if (x > start) f(in + start, x - start);
          start = x + 1;
        }
      }
      if (step == 1 && r.w > start) f(in + start, r.w - start);
    }
  }

  // Every `step`th row and column of the rectangle `r`, the pixels the frame stores, as RGBA.
  void Sample(const Surface& frame, const Rect& r, int step) {
    sample_.clear();
    ForStored(frame, r, step, [this](const std::uint32_t* run, int n) {
      for (int i = 0; i < n; ++i) sample_.push_back(run[i] | 0xFF000000u);  // opaque
    });
  }

  // A frame in which nothing changed: one transparent pixel keeps the frame and its delay (the
  // top left pixel as it is shown, when there is no transparent index).
  base::Status PutUnchanged() {
    if (noKeep_) {
      const std::uint32_t c = shown_[0];
      indices_.assign(1, static_cast<GifByteType>(
                             palette_->Nearest(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)));
      return PutFrame({0, 0, 1, 1}, false);
    }
    indices_.assign(1, transparent_);
    return PutFrame({0, 0, 1, 1}, true);
  }

  // The frame's rectangle `r`; when `dispose` is not empty, the stored rectangle holds it and is
  // cleared after it is shown. `written` gets the rectangle stored.
  base::Status PutChanged(const Surface& frame, const Rect& r, const Rect& dispose, Rect& written) {
    if (perFrame_) {
      if (base::Status palette = MakeFramePalette(frame, r); !palette.ok()) return palette;
    }
    indices_.resize(static_cast<std::size_t>(r.w) * r.h);
    const std::uint32_t* pixels = frame.Row(r.y) + r.x;
    const std::size_t corner = static_cast<std::size_t>(r.y) * width_ + r.x;
    if (first_ || noKeep_) {
      palette_->Dither(pixels, width_, r.w, r.h, diffusion_, indices_.data());
    } else {
      const PaletteMap::Backdrop backdrop{shown_.data() + corner, previous_.data() + corner,
                                          transparent_};
      palette_->Dither(pixels, width_, r.w, r.h, diffusion_, backdrop, indices_.data());
    }

    // Update what is on screen, and find the rectangle that still holds a visible change.
    Bounds changed;
    bool clear = false;  // some pixel of the first frame is clear
    for (int y = 0; y < r.h; ++y) {
      std::uint32_t* shown = shown_.data() + corner + static_cast<std::size_t>(y) * width_;
      const std::uint8_t* row = indices_.data() + static_cast<std::size_t>(y) * r.w;
      for (int x = 0; x < r.w; ++x) {
        if (!noKeep_ && row[x] == transparent_) {
          clear = true;
          continue;
        }
        shown[x] = palette_->colour(row[x]);
        changed.Add(x, y);
      }
    }
    const bool disposed = !dispose.empty();
    if (first_) {
      written = r;
      return PutFrame(r, clear, disposed);
    }
    Rect crop = changed.rect();
    crop.x += r.x;
    crop.y += r.y;
    crop = Union(crop, dispose);
    if (crop.empty()) return PutUnchanged();
    written = crop;

    // Store only that rectangle.
    const int x0 = crop.x - r.x, y0 = crop.y - r.y;
    for (int y = 0; y < crop.h; ++y) {
      std::memmove(indices_.data() + static_cast<std::size_t>(y) * crop.w,
                   indices_.data() + static_cast<std::size_t>(y + y0) * r.w + x0, crop.w);
    }
    return PutFrame(crop, !noKeep_, disposed);
  }

  // One frame: its control block (delay, transparency, drawn over the last or cleared after it
  // is shown), its rectangle with
  // its own palette when frames have their own, and the rows of indices_ (r.w per row).
  base::Status PutFrame(const Rect& r, bool transparency, bool disposed = false) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = disposed ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = delay_;
    gcb.TransparentColor = transparency ? transparent_ : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&gcb, extension);
    ColorMapObject* map = perFrame_ ? ColourTable() : nullptr;
    if (perFrame_ && map == nullptr) return OutOfMemory();
    bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
                  GIF_ERROR &&
              EGifPutImageDesc(gif_, r.x, r.y, r.w, r.h, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    for (int y = 0; ok && y < r.h; ++y) {
      ok = EGifPutLine(gif_, indices_.data() + static_cast<std::size_t>(y) * r.w, r.w) != GIF_ERROR;
    }
    return ok ? base::Status::Ok() : GifFailed(gif_->Error);
  }

  int delay_;
  std::optional<render::Colour> matte_;  // what pixels partly transparent are laid over
  liq_attr* attr_ = nullptr;
  ColourSet distinct_{256};
  ColourCounter counter_;
  bool noKeep_ = false;  // 256 colours: no transparent index
  float diffusion_ = kDiffusion;
  bool perFrame_ = false;  // each frame has its own palette
  std::unique_ptr<PaletteMap> palette_;
  std::uint8_t transparent_ = 0;
  GifFileType* gif_ = nullptr;
  const ByteSink* sink_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool first_ = true;
  std::vector<std::uint32_t> sample_;    // the pixels a frame's palette is learnt from, RGBA
  std::vector<std::uint32_t> previous_;  // the last frame, packed
  std::vector<std::uint32_t> shown_;     // what a viewer shows now, packed
  std::vector<GifByteType> indices_;
  Surface prepared_;  // the last frame with transparency, made opaque or clear
  // Per frame, the rectangle of its pixels that the next frame (the first after the last)
  // clears, where it is disposed; learnt in the first pass.
  std::vector<Rect> dispose_;
  std::size_t frameIndex_ = 0;
  std::vector<std::uint8_t> firstVisible_, lastVisible_;  // empty: every pixel visible
  int learnt_ = 0;
};

}  // namespace

std::unique_ptr<AnimationEncoder> MakeGifEncoder(int delayCentiseconds,
                                                 std::optional<render::Colour> matte) {
  return std::make_unique<GifEncoder>(delayCentiseconds, matte);
}

}  // namespace kinetta::exporter
