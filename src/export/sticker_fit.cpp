// The fitting: the frames the plan picks, scaled once; then the encoding of them all, and when
// it is over the target's bytes, one with fewer colours (each channel cut to fewer bits, which
// the GIF's palette then holds exactly) and one with every second, third ... frame, as many
// fewer as it was over; of those within the bytes, the one closest to the scaled frames is
// written.
#include "export/sticker_fit.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/text_lookup.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"
#include "export/sticker_fit_parts.h"
#include "render/geometry.h"
#include "render/scaling.h"
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Colour;
using render::Surface;

// The most bytes of scaled frames held at once: past it, frames are left out evenly from the
// start (a GIF target's byte limit is reached long before).
constexpr std::uint64_t kHeldFrameBytes = std::uint64_t{64} << 20;

// The bits of each channel kept when the colours are cut: 3 leaves at most 512 colours, of which
// a picture's few hundred fit one exact palette, which costs the GIF far fewer bytes; with 4 or
// more the palette still quantizes, and the file is hardly smaller than with every colour.
constexpr int kFewerColourBits[] = {3, 2};

// Fewer frames are tried in proportion to how far the file was over, and a little more, since
// the bytes do not fall quite as fast as the frames.
constexpr double kStepMargin = 1.05;

// Each channel kept to its top `bits` bits, in the middle of what those bits cover.
Surface Posterized(const Surface& frame, int bits) {
  if (bits >= 8) return frame;
  Surface out = frame;
  const std::uint32_t keep = (0xFFu << (8 - bits)) & 0xFFu;
  const std::uint32_t half = 1u << (7 - bits);
  const std::uint32_t mask = keep * 0x010101u, middle = half * 0x010101u;
  for (int y = 0; y < out.height(); ++y) {
    std::uint32_t* row = out.Row(y);
    for (int x = 0; x < out.width(); ++x) {
      if (row[x] == static_cast<std::uint32_t>(render::kClear)) continue;
      row[x] = (row[x] & 0xFF000000u) | (row[x] & mask) | middle;
    }
  }
  return out;
}

struct MemoryRead {
  const std::string* bytes;
  std::size_t at = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* into, int size) {
  auto* m = static_cast<MemoryRead*>(gif->UserData);
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(size, 0)), m->bytes->size() - m->at);
  std::memcpy(into, m->bytes->data() + m->at, count);
  m->at += count;
  return static_cast<int>(count);
}

// The frames of a GIF this file's encoder made, as shown: each image's pixels other than its
// transparent colour laid on what was there (the encoder leaves every frame in place).
std::vector<Surface> ShownGif(const std::string& bytes) {
  MemoryRead read{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&read, ReadMemory, &error);
  std::vector<Surface> shown;
  if (gif == nullptr) return shown;
  if (DGifSlurp(gif) == GIF_OK) {
    Surface canvas(gif->SWidth, gif->SHeight);
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& image = gif->SavedImages[i];
      GraphicsControlBlock control{};
      control.TransparentColor = NO_TRANSPARENT_COLOR;
      DGifSavedExtensionToGCB(gif, i, &control);
      const ColorMapObject* map =
          image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
      const GifImageDesc& d = image.ImageDesc;
      for (int y = 0; y < d.Height && map != nullptr; ++y) {
        for (int x = 0; x < d.Width; ++x) {
          const int index = image.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
          if (index == control.TransparentColor || index >= map->ColorCount) continue;
          const GifColorType c = map->Colors[index];
          canvas.PSet(d.Left + x, d.Top + y, render::Compose(c.Red, c.Green, c.Blue));
        }
      }
      shown.push_back(canvas);
    }
  }
  DGifCloseFile(gif, &error);
  return shown;
}

// One encoding tried.
struct Attempt {
  std::string bytes;
  int step = 1;
  int bits = 8;
  double psnr = 0.0;
};

}  // namespace

Surface ScaleIntoPlan(const Surface& frame, const StickerPlan& plan) {
  Surface out = Surface::Unwritten(plan.width, plan.height);
  for (int y = 0; y < out.height(); ++y) {
    std::fill_n(out.Row(y), out.width(), static_cast<std::uint32_t>(render::kClear));
  }
  render::ScaleInto(frame, out, {plan.left, plan.top, plan.pictureWidth, plan.pictureHeight});
  return out;
}

double StickerPsnr(const std::vector<Surface>& wanted, const std::vector<Surface>& shown,
                   int step) {
  double squares = 0.0, count = 0.0;
  for (std::size_t k = 0; k < wanted.size(); ++k) {
    const std::size_t s = k / static_cast<std::size_t>(step);
    if (s >= shown.size()) return 0.0;
    const Surface& a = wanted[k];
    const Surface& b = shown[s];
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        // Compared as shown over black, so that a clear pixel counts as its own colour.
        const Colour p = render::Over(a.Point(x, y), 0), q = render::Over(b.Point(x, y), 0);
        for (int shift = 0; shift < 24; shift += 8) {
          const double diff = ((p >> shift) & 0xFF) - ((q >> shift) & 0xFF);
          squares += diff * diff;
        }
        count += 3;
      }
    }
  }
  if (squares == 0.0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 * count / squares);
}

base::Result<EncodedFrames> EncodeFrames(AnimationEncoder& encoder,
                                         const std::vector<Surface>& frames, std::size_t limit) {
  for (const Surface& f : frames) encoder.Learn(f);
  EncodedFrames out;
  bool over = false;
  const ByteSink sink = [&](const void* data, std::size_t size) {
    out.bytes.append(static_cast<const char*>(data), size);
    over = limit > 0 && out.bytes.size() > limit;
    return !over;
  };
  const int w = frames[0].width(), h = frames[0].height();
  if (base::Status s = encoder.Start(w, h, static_cast<int>(frames.size()), sink); !s.ok()) {
    return s;
  }
  std::size_t added = 0;
  base::Status s;
  while (s.ok() && !over && added < frames.size()) s = encoder.Add(frames[added++]);
  if (s.ok() && !over) s = encoder.Finish();
  if (over) {
    // Stopped: as large as the frames encoded so far make it, in proportion.
    out.size =
        std::max(limit + 1, out.bytes.size() * frames.size() / std::max<std::size_t>(added, 1));
    out.bytes.clear();
    return out;
  }
  if (!s.ok()) return s;
  out.size = out.bytes.size();
  return out;
}

base::Status StickerFailed(const StickerRequest& request, base::Cause cause,
                           std::string_view reason) {
  return base::Status::Failed(cause, AnimationFailedMessage(request.file.string(), reason));
}

base::Result<PlannedFrames> ReadPlannedFrames(const FrameReader& frames,
                                              const StickerRequest& request) {
  base::Result<Surface> first = frames(0);
  if (!first.ok())
    return base::Status::Failed(base::Cause::NotFound, base::Text(base::kNoFramesMessage));
  PlannedFrames out;
  out.plan = PlanSticker(*request.target, first.value().width(), first.value().height(),
                         std::max(request.frameCount, 1), request.delayMs);
  const StickerPlan& plan = out.plan;
  const std::uint64_t frameBytes = std::uint64_t{4} * plan.width * plan.height;
  const int held = static_cast<int>(std::min<std::uint64_t>(
      plan.frames, std::max<std::uint64_t>(1, kHeldFrameBytes / frameBytes)));
  const int planned = plan.frames;
  // Frame 00, read already, is scaled at once and let go.
  const Surface scaledFirst = ScaleIntoPlan(first.value(), plan);
  first = base::Status::Failed(base::Cause::NotFound, {});
  for (int k = 0; k < held; ++k) {
    const int picked = PlannedSourceFrame(request.frameCount, planned,
                                          static_cast<int>(std::int64_t{k} * planned / held));
    if (picked == 0) {
      out.wanted.push_back(scaledFirst);
      continue;
    }
    base::Result<Surface> frame = frames(picked);
    if (!frame.ok()) return StickerFailed(request, frame.cause(), frame.message());
    out.wanted.push_back(ScaleIntoPlan(frame.value(), plan));
  }
  out.delayMs = plan.delayMs * planned / held;
  return out;
}

base::Status CheckAndWriteSticker(const StickerRequest& request, const std::string& bytes,
                                  StickerFit& fit) {
  const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           bytes.size());
  base::Result<StickerMeasure> measured = MeasureStickerBytes(file, request.file.string());
  if (!measured.ok()) return measured.status();
  fit.measure = measured.value();
  fit.rules = CheckSticker(*request.target, fit.measure);
  if (!AllPass(fit.rules)) {
    return StickerFailed(request, base::Cause::Unexpected, base::Text(kStickerRulesText));
  }
  if (base::Status written = base::WriteFileAtomically(request.file, file.data(), file.size());
      !written.ok()) {
    return StickerFailed(request, written.cause(), written.message());
  }
  return base::Status::Ok();
}

base::Result<StickerFit> FitSticker(const FrameReader& frames, const StickerRequest& request) {
  const StickerTarget& target = *request.target;
  if (target.container == StickerContainer::WebM) return FitWebmSticker(frames, request);
  if (target.container == StickerContainer::Apng || target.container == StickerContainer::Png) {
    return FitApngSticker(frames, request);
  }
  base::Result<PlannedFrames> read = ReadPlannedFrames(frames, request);
  if (!read.ok()) return read.status();
  StickerFit fit;
  fit.plan = read.value().plan;
  const std::vector<Surface> wanted = std::move(read.value().wanted);
  const int held = static_cast<int>(wanted.size());
  const int baseDelay = read.value().delayMs;

  // One encoding: every `step`-th frame, each channel cut to `bits`; kept when it fits and
  // comes closer to the wanted frames than the best so far. Its size, or why it failed.
  std::optional<Attempt> best;
  const auto attempt = [&](int step, int bits) -> base::Result<std::size_t> {
    if (request.abort != nullptr && request.abort->load()) {
      return base::Status::Failed(base::Cause::Aborted, {});
    }
    std::vector<Surface> kept;
    for (int k = 0; k < held; k += step) {
      kept.push_back(Posterized(wanted[static_cast<std::size_t>(k)], bits));
    }
    base::Result<EncodedFrames> bytes =
        EncodeFrames(*MakeGifEncoder(std::max(2, (baseDelay * step + 5) / 10)), kept);
    if (!bytes.ok()) return StickerFailed(request, bytes.cause(), bytes.message());
    const std::size_t size = bytes.value().size;
    if (size <= target.maxBytes) {
      Attempt tried{std::move(bytes.value().bytes), step, bits};
      tried.psnr = StickerPsnr(wanted, ShownGif(tried.bytes), step);
      if (!best || tried.psnr > best->psnr) best = std::move(tried);
    }
    return size;
  };
  base::Result<std::size_t> size = attempt(1, 8);
  if (!size.ok()) return size.status();
  if (!best) {
    // Fewer colours, every frame: few enough for the palette to hold them all.
    for (int bits : kFewerColourBits) {
      if (base::Result<std::size_t> fewer = attempt(1, bits); !fewer.ok() || best) {
        if (!fewer.ok()) return fewer.status();
        break;
      }
    }
    // Every colour, fewer frames: as many fewer as the first encoding was over, then more.
    for (int step = 1; step < held;) {
      step = std::min(
          held, std::max(step + 1, static_cast<int>(std::ceil(
                                       step * kStepMargin * static_cast<double>(size.value()) /
                                       static_cast<double>(target.maxBytes)))));
      size = attempt(step, 8);
      if (!size.ok()) return size.status();
      if (size.value() <= target.maxBytes) break;
    }
    // Neither alone: fewer of both.
    for (int step = 2; !best && step <= held;
         step = step < held ? std::min(step * 2, held) : held + 1) {
      for (int bits : kFewerColourBits) {
        if (base::Result<std::size_t> fewer = attempt(step, bits); !fewer.ok())
          return fewer.status();
        if (best) break;
      }
    }
  }
  if (!best) return StickerFailed(request, base::Cause::TooLarge, base::Text(kStickerTooLargeText));

  fit.plan.frames = (held + best->step - 1) / best->step;
  fit.plan.delayMs = std::max(2, (baseDelay * best->step + 5) / 10) * 10;
  fit.frameStep = best->step;
  fit.colourBits = best->bits;
  fit.psnr = best->psnr;
  if (base::Status written = CheckAndWriteSticker(request, best->bytes, fit); !written.ok()) {
    return written;
  }
  return fit;
}

}  // namespace kinetta::exporter
