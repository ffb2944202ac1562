// The APNG and PNG targets: the frames the plan picks, scaled once, first encoded with every
// colour (the APNG encoder stores them indexed on its own where they have at most 256); when
// that is over the target's bytes, the frames share one palette of fewer colours learnt by
// libimagequant from all of them, the most colours that fit; and when even a small palette does
// not fit, every second, third ... frame is kept, no fewer than the target's least, each shown
// longer, so that the loop keeps its length. Of the encodings within the bytes the one closest
// to the scaled frames is written.
#include <libimagequant.h>
#if defined(_OPENMP)
#include <omp.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/text_lookup.h"
#include "export/export_messages.h"
#include "export/sticker_fit_parts.h"
#include "export/video_module.h"
#include "image/png_frame.h"
#include "render/geometry.h"
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Colour;
using render::Surface;

// The palettes tried, largest first: halving the colours takes about one bit a pixel off what
// deflate stores. Down to 16 the frames are all kept; fewer colours are tried only together with
// fewer frames, where 8, 4 and 2 still keep the shapes of a picture that is hard to compress.
constexpr int kPaletteSizes[] = {256, 128, 64, 32, 16, 8, 4, 2};
constexpr int kFewestColoursWithEveryFrame = 16;

// libimagequant's error diffusion when it maps the frames to the palette. Each pixel's nearest
// entry is what brings the frames closest: diffusion only adds to each pixel's error, and its
// noise costs deflate bytes. On a 20-frame LINE sticker of a photo's flag at 128 colours, full
// diffusion (pngquant's default) made the file 37 % larger and 0.9 dB further from the frames
// than none; half of it 29 % and 0.5 dB.
constexpr float kDithering = 0.0f;

// libimagequant's speed, 1 (slowest) to 10: on a photo's 20 frames 1 gains under 0.1 dB for a
// third more time; 5 and above lose 0.1 to 0.6 dB and make the files 2 to 9 % larger.
constexpr int kQuantizerSpeed = 3;

// The palette is learnt from the frames' colours with the lowest two bits of each channel
// dropped, each such group as the mean of its colours: on a photo's 20 frames 37 thousand
// entries where there were 570 thousand colours, learnt in a quarter of the time, and the
// palette as close (0.05 dB better).
constexpr int kHistogramBits = 6;

// Frames of more distinct colours than this (noise) are grouped a bit coarser still, until they
// are no more: learning a palette takes time in proportion to the entries.
constexpr std::size_t kMostEntries = 50000;

// The palette between two halvings is aimed a little below the limit, so that it fits.
constexpr double kAimedShare = 0.9;

// Fewer frames are tried in proportion to how far the file was over, and a little more, since
// the bytes do not fall quite as fast as the frames.
constexpr double kStepMargin = 1.05;

// A frame's pixels as libimagequant reads them: R, G, B, A bytes, straight opacity.
std::vector<std::uint32_t> RgbaOf(const Surface& frame) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(frame.width()) * frame.height());
  std::uint32_t* at = out.data();
  for (int y = 0; y < frame.height(); ++y) {
    const std::uint32_t* row = frame.Row(y);
    for (int x = 0; x < frame.width(); ++x) {
      const auto c = static_cast<Colour>(row[x]);
      *at++ = (row[x] & 0xFFFFFFu) | static_cast<std::uint32_t>(render::OpacityOf(c)) << 24;
    }
  }
  return out;
}

// A palette entry as the frames carry it; a clear entry is kClear, whatever its colour.
Colour ColourOf(const liq_color& c) {
  if (c.a == 0) return render::kClear;
  return render::WithOpacity(render::Compose(c.r, c.g, c.b), c.a);
}

// One palette for all the frames, learnt from every pixel of all of them, for each size asked
// for (a histogram of libimagequant gives one palette only, so each size adds the frames anew).
class SharedPalette {
 public:
  explicit SharedPalette(const std::vector<Surface>& frames) : attr_(liq_attr_create()) {
    liq_set_speed(attr_, kQuantizerSpeed);
#if defined(_OPENMP)
    // libimagequant on this thread alone, as for the GIF: its threads wait for each other by
    // spinning, which on a machine whose cores are busy took longer than one thread alone.
    omp_set_num_threads(1);
#endif
    for (const Surface& f : frames) rgba_.push_back(RgbaOf(f));
    for (int bits = kHistogramBits; entries_.empty() || entries_.size() > kMostEntries; --bits) {
      Group(bits);
    }
  }
  ~SharedPalette() {
    for (auto& [colours, learnt] : learnt_) liq_result_destroy(learnt.result);
    liq_attr_destroy(attr_);
  }
  SharedPalette(const SharedPalette&) = delete;
  SharedPalette& operator=(const SharedPalette&) = delete;

  // The frames `k` = 0, step, 2 x step ... mapped to a palette of at most `colours`; nothing when
  // the library failed.
  std::optional<std::vector<Surface>> Mapped(const std::vector<Surface>& frames, int step,
                                             int colours) {
    const Learnt* learnt = Learn(colours);
    if (learnt == nullptr) return std::nullopt;
    std::vector<Surface> out;
    std::vector<std::uint8_t> indices;
    for (std::size_t k = 0; k < frames.size(); k += static_cast<std::size_t>(step)) {
      const Surface& f = frames[k];
      indices.resize(static_cast<std::size_t>(f.width()) * f.height());
      liq_image* image = liq_image_create_rgba(attr_, rgba_[k].data(), f.width(), f.height(), 0);
      const bool ok =
          image != nullptr &&
          liq_write_remapped_image(learnt->result, image, indices.data(), indices.size()) == LIQ_OK;
      if (image != nullptr) liq_image_destroy(image);
      if (!ok) return std::nullopt;
      Surface mapped = Surface::Unwritten(f.width(), f.height());
      const std::uint8_t* index = indices.data();
      for (int y = 0; y < f.height(); ++y) {
        std::uint32_t* row = mapped.Row(y);
        for (int x = 0; x < f.width(); ++x) {
          row[x] = static_cast<std::uint32_t>(learnt->entries[*index++]);
        }
      }
      out.push_back(std::move(mapped));
    }
    return out;
  }

 private:
  // The entries the palette is learnt from: colours that differ only below `bits` of each
  // channel are one entry, their mean.
  void Group(int bits) {
    const int drop = 8 - bits;
    const std::uint32_t mask = (0xFFu >> drop << drop) * 0x01010101u;
    struct Sum {
      std::uint64_t r = 0, g = 0, b = 0, a = 0;
      unsigned n = 0;
    };
    std::unordered_map<std::uint32_t, Sum> sums;
    for (const std::vector<std::uint32_t>& frame : rgba_) {
      for (std::uint32_t c : frame) {
        Sum& sum = sums[c & mask];
        sum.r += c & 0xFF;
        sum.g += (c >> 8) & 0xFF;
        sum.b += (c >> 16) & 0xFF;
        sum.a += c >> 24;
        ++sum.n;
      }
    }
    entries_.clear();
    entries_.reserve(sums.size());
    for (const auto& [key, sum] : sums) {
      const auto mean = [&sum](std::uint64_t total) {
        return static_cast<unsigned char>((total + sum.n / 2) / sum.n);
      };
      liq_histogram_entry e{};
      e.color = liq_color{mean(sum.r), mean(sum.g), mean(sum.b), mean(sum.a)};
      e.count = sum.n;
      entries_.push_back(e);
    }
  }

  // A palette learnt, kept for every later mapping to it (fewer frames want the same palette).
  // Its entries are read once, as learnt: the library moves each entry to the mean of the
  // pixels a mapping gave it and tells that palette afterwards, which would differ from frame
  // to frame; the indices name the entries as learnt.
  struct Learnt {
    liq_result* result = nullptr;
    std::vector<Colour> entries;
  };

  const Learnt* Learn(int colours) {
    if (const auto found = learnt_.find(colours); found != learnt_.end()) return &found->second;
    liq_set_max_colors(attr_, colours);
    liq_histogram* histogram = liq_histogram_create(attr_);
    bool added = histogram != nullptr &&
                 liq_histogram_add_colors(histogram, attr_, entries_.data(),
                                          static_cast<int>(entries_.size()), 0) == LIQ_OK;
    Learnt learnt;
    added = added && liq_histogram_quantize(histogram, attr_, &learnt.result) == LIQ_OK;
    if (histogram != nullptr) liq_histogram_destroy(histogram);
    if (!added) return nullptr;
    liq_set_dithering_level(learnt.result, kDithering);
    const liq_palette* palette = liq_get_palette(learnt.result);
    for (unsigned i = 0; i < palette->count; ++i) {
      learnt.entries.push_back(ColourOf(palette->entries[i]));
    }
    return &learnt_.emplace(colours, std::move(learnt)).first->second;
  }

  liq_attr* attr_;
  std::vector<liq_histogram_entry> entries_;      // every colour of the frames, with its count
  std::vector<std::vector<std::uint32_t>> rgba_;  // each frame's pixels, as the library reads them
  std::map<int, Learnt> learnt_;                  // by the most colours asked for
};

// One encoding tried.
struct Attempt {
  std::string bytes;
  int step = 1;
  int colours = 0;
  int frames = 0;
  int delayMs = 0;
  int plays = 0;
  double psnr = 0.0;
};

}  // namespace

base::Result<StickerFit> FitApngSticker(const FrameReader& frames, const StickerRequest& request) {
  const StickerTarget& target = *request.target;
  const bool still = target.container == StickerContainer::Png;
  const VideoEncoderMakers* make = nullptr;
  if (!still) {
    const base::Result<const VideoEncoderMakers*> video = VideoEncoders();
    if (!video.ok()) return StickerFailed(request, video.cause(), video.message());
    make = video.value();
  }
  base::Result<PlannedFrames> read = ReadPlannedFrames(frames, request);
  if (!read.ok()) return read.status();
  StickerFit fit;
  fit.plan = read.value().plan;
  const std::vector<Surface> wanted = std::move(read.value().wanted);
  const int held = static_cast<int>(wanted.size());
  const long long loopMs = static_cast<long long>(held) * read.value().delayMs;
  // The most frames left out: every step-th kept leaves at least the target's fewest.
  const int fewest = std::min(held, std::max(target.minFrames, 1));
  int maxStep = 1;
  while (maxStep < held && (held + maxStep) / (maxStep + 1) >= fewest) ++maxStep;

  std::optional<SharedPalette> palette;
  std::optional<Attempt> best;
  // One encoding: every `step`-th frame, with a shared palette of `colours` (0: every colour);
  // kept when it fits and comes closer to the wanted frames than the best so far. Its size, or
  // why it failed.
  const auto attempt = [&](int step, int colours) -> base::Result<std::size_t> {
    if (request.abort != nullptr && request.abort->load()) {
      return base::Status::Failed(base::Cause::Aborted, {});
    }
    std::vector<Surface> kept;
    if (colours == 0) {
      for (int k = 0; k < held; k += step) kept.push_back(wanted[static_cast<std::size_t>(k)]);
    } else {
      if (!palette) palette.emplace(wanted);
      std::optional<std::vector<Surface>> mapped = palette->Mapped(wanted, step, colours);
      if (!mapped) {
        return StickerFailed(request, base::Cause::Unexpected,
                             EncoderMessage("APNG", kColoursNotReducedText));
      }
      kept = std::move(*mapped);
    }
    Attempt tried;
    tried.step = step;
    tried.colours = colours;
    tried.frames = static_cast<int>(kept.size());
    // The loop keeps its length: fewer frames show longer; then as many plays as fit.
    tried.delayMs = static_cast<int>(std::max<long long>(1, loopMs / tried.frames));
    const long long shownMs = static_cast<long long>(tried.frames) * tried.delayMs;
    if (target.maxPlays > 0) {
      const long long fits = target.maxMilliseconds > 0 ? target.maxMilliseconds / shownMs : 1;
      tried.plays = static_cast<int>(std::clamp<long long>(fits, 1, target.maxPlays));
    }
    base::Result<EncodedFrames> bytes = EncodedFrames{};
    if (still) {
      const base::Writer into = [&bytes](const void* data, std::size_t size) {
        bytes.value().bytes.append(static_cast<const char*>(data), size);
        return base::Status::Ok();
      };
      if (base::Status s = image::StreamPngFrame(kept[0], into); !s.ok()) bytes = s;
      if (bytes.ok()) bytes.value().size = bytes.value().bytes.size();
    } else {
      bytes = EncodeFrames(*make->apng(tried.delayMs, tried.plays), kept, target.maxBytes);
    }
    if (!bytes.ok()) return StickerFailed(request, bytes.cause(), bytes.message());
    const std::size_t size = bytes.value().size;
    if (size <= target.maxBytes) {
      tried.bytes = std::move(bytes.value().bytes);
      tried.psnr = StickerPsnr(wanted, kept, step);
      if (!best || tried.psnr > best->psnr) best = std::move(tried);
    }
    return size;
  };

  base::Result<std::size_t> size = attempt(1, 0);
  if (!size.ok()) return size.status();
  // Fewer colours, every frame: halved until they fit; then once between the palette that fit
  // and the one twice as large, where the bytes, which fall by about as much for each halving,
  // reach the limit.
  std::size_t overSize = size.value();
  std::map<int, std::size_t> everyFrame;  // the bytes with every frame, by palette
  for (int colours : kPaletteSizes) {
    if (colours < kFewestColoursWithEveryFrame) break;
    size = attempt(1, colours);
    if (!size.ok()) return size.status();
    everyFrame[colours] = size.value();
    if (best) {
      if (colours < kPaletteSizes[0] && overSize > size.value()) {
        const double bits =
            std::log2(colours) +
            std::log(kAimedShare * static_cast<double>(target.maxBytes) /
                     static_cast<double>(size.value())) /
                std::log(static_cast<double>(overSize) / static_cast<double>(size.value()));
        const int between = static_cast<int>(std::exp2(bits));
        if (between > colours && between < 2 * colours) {
          if (base::Result<std::size_t> s = attempt(1, between); !s.ok()) return s.status();
        }
      }
      break;
    }
    overSize = size.value();
  }
  // Fewer frames, as many fewer as the smallest palette was over, and at each step the most
  // colours that fit.
  for (int step = 1; !best && step < maxStep;) {
    step = std::min(
        maxStep,
        std::max(step + 1,
                 static_cast<int>(std::ceil(step * kStepMargin * static_cast<double>(size.value()) /
                                            static_cast<double>(target.maxBytes)))));
    // From the most colours whose bytes with every frame, in proportion to the frames kept,
    // are within the limit.
    const double kept = std::ceil(static_cast<double>(held) / step) / held;
    for (int colours : kPaletteSizes) {
      const auto known = everyFrame.find(colours);
      if (known != everyFrame.end() &&
          static_cast<double>(known->second) * kept > static_cast<double>(target.maxBytes)) {
        continue;
      }
      size = attempt(step, colours);
      if (!size.ok()) return size.status();
      if (best) break;
    }
  }
  if (!best) return StickerFailed(request, base::Cause::TooLarge, base::Text(kStickerTooLargeText));

  fit.plan.frames = best->frames;
  fit.plan.delayMs = best->delayMs;
  fit.plan.plays = best->plays;
  fit.frameStep = best->step;
  fit.colours = best->colours;
  fit.psnr = best->psnr;
  if (base::Status written = CheckAndWriteSticker(request, best->bytes, fit); !written.ok()) {
    return written;
  }
  return fit;
}

}  // namespace kinetta::exporter
