// The fitting of a WebM target (a VP9 video sticker): the frames the plan picks, scaled once and
// held; libvpx's first pass over them once, then second passes at a mean bitrate, each measured
// by its bytes and the bitrate moved by how far the file missed the limit, until one fills most
// of it; the largest that fits is kept, checked as the file will be read, and written.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/messages.h"
#include "base/text_lookup.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"
#include "export/sticker_fit.h"
#include "export/video_module.h"
#include "render/transparency.h"

namespace kinetta::exporter {

namespace {

using render::Surface;

// The first bitrate leaves this share of the limit to the container and to the encoder's miss:
// libvpx overshoots by about a tenth with an opacity stream, so 0.82 lands within the limit and
// full enough at the first try, where 0.90 missed and needed a second encoding (a 6000 x 4000
// photo's flag for Telegram: 5.3 s against 8.3 s, 243 KB at 38.30 dB against 234 KB at 38.25).
constexpr double kFirstShare = 0.82;
// A file within the limit and at least this full of it is kept without trying for more.
constexpr double kFullEnough = 0.85;
// A bitrate moved after a miss aims here, below the limit, since libvpx misses by a few percent.
constexpr double kAim = 0.96;
// Second passes tried at most: the first and its corrections, which libvpx's two-pass rate
// control brings within the limit's last tenth in one or two.
constexpr int kMostEncodings = 5;
// libvpx takes no less; a budget that needs less is out of reach.
constexpr int kFewestKilobits = 8;
// Beyond this a sticker's frames gain nothing visible (and a simple drawing never uses it).
constexpr int kMostKilobits = 40000;

// dB of the shown frames against the wanted ones, added up frame by frame, both laid over black
// so that a clear pixel counts as its own colour.
class PsnrSum {
 public:
  void Add(const Surface& wanted, const Surface& shown) {
    if (wanted.width() != shown.width() || wanted.height() != shown.height()) {
      broken_ = true;
      return;
    }
    for (int y = 0; y < wanted.height(); ++y) {
      const std::uint32_t* a = wanted.Row(y);
      const std::uint32_t* b = shown.Row(y);
      for (int x = 0; x < wanted.width(); ++x) {
        const render::Colour p = render::Over(static_cast<render::Colour>(a[x]), 0);
        const render::Colour q = render::Over(static_cast<render::Colour>(b[x]), 0);
        for (int shift = 0; shift < 24; shift += 8) {
          const double diff = ((p >> shift) & 0xFF) - ((q >> shift) & 0xFF);
          squares_ += diff * diff;
        }
      }
    }
    count_ += 3.0 * wanted.width() * wanted.height();
  }

  // 0 when the frames did not match up; infinity when they are the same.
  double Db(std::size_t frames, std::size_t wanted) const {
    if (broken_ || frames != wanted || count_ == 0.0) return 0.0;
    if (squares_ == 0.0) return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(255.0 * 255.0 * count_ / squares_);
  }

 private:
  double squares_ = 0.0;
  double count_ = 0.0;
  bool broken_ = false;
};

base::Status Failed(const StickerRequest& request, base::Cause cause, std::string_view reason) {
  return base::Status::Failed(cause, AnimationFailedMessage(request.file.string(), reason));
}

// One encoding of `frames` at `rate`: the file's bytes (none from a first pass); the abort
// flag is read between frames.
base::Result<std::string> Encode(const VideoEncoderMakers& makers,
                                 const std::vector<Surface>& frames, int delayMs,
                                 const WebmRate& rate, const std::atomic<bool>* abort) {
  std::unique_ptr<AnimationEncoder> encoder = makers.webmAtRate(delayMs, rate);
  for (const Surface& f : frames) encoder->Learn(f);
  std::string bytes;
  const ByteSink sink = [&bytes](const void* data, std::size_t size) {
    bytes.append(static_cast<const char*>(data), size);
    return true;
  };
  const int w = frames[0].width(), h = frames[0].height();
  if (base::Status s = encoder->Start(w, h, static_cast<int>(frames.size()), sink); !s.ok()) {
    return s;
  }
  for (const Surface& f : frames) {
    if (abort != nullptr && abort->load()) return base::Status::Failed(base::Cause::Aborted, {});
    if (base::Status s = encoder->Add(f); !s.ok()) return s;
  }
  if (base::Status s = encoder->Finish(); !s.ok()) return s;
  return bytes;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

base::Result<StickerFit> FitWebmSticker(const FrameReader& frames, const StickerRequest& request) {
  const StickerTarget& target = *request.target;
  const auto aborted = [&request] { return request.abort != nullptr && request.abort->load(); };
  const auto progress = [&request](int done, int total) {
    if (request.progress) request.progress(done, total);
  };
  base::Result<Surface> first = frames(0);
  if (!first.ok())
    return base::Status::Failed(base::Cause::NotFound, base::Text(base::kNoFramesMessage));
  const base::Result<const VideoEncoderMakers*> makers = VideoEncoders();
  if (!makers.ok()) return Failed(request, makers.cause(), makers.message());
  const base::Result<const VideoProbe*> probe = VideoProbes();
  if (!probe.ok()) return Failed(request, probe.cause(), probe.message());

  StickerFit fit;
  fit.plan = PlanSticker(target, first.value().width(), first.value().height(),
                         std::max(request.frameCount, 1), request.delayMs);
  const int planned = fit.plan.frames;
  // Every planned frame is held: the target's size and seconds bound them (90 frames of
  // 512 x 512 at the most, 90 MiB).
  std::vector<Surface> wanted;
  wanted.reserve(static_cast<std::size_t>(planned));
  for (int k = 0; k < planned; ++k) {
    if (aborted()) return base::Status::Failed(base::Cause::Aborted, {});
    const int picked = PlannedSourceFrame(request.frameCount, planned, k);
    if (picked == 0) {
      wanted.push_back(ScaleIntoPlan(first.value(), fit.plan));
    } else {
      base::Result<Surface> frame = frames(picked);
      if (!frame.ok()) return Failed(request, frame.cause(), frame.message());
      wanted.push_back(ScaleIntoPlan(frame.value(), fit.plan));
    }
    progress(k + 1, 0);
  }
  first = base::Status::Failed(base::Cause::NotFound, {});

  const double seconds = planned * fit.plan.delayMs / 1000.0;
  const double limit = target.maxBytes > 0 ? static_cast<double>(target.maxBytes)
                                           : std::numeric_limits<double>::infinity();
  int kilobits = std::isinf(limit)
                     ? kMostKilobits
                     : static_cast<int>(std::clamp(limit * kFirstShare * 8.0 / 1000.0 / seconds,
                                                   double{kFewestKilobits}, double{kMostKilobits}));
  std::string stats;
  base::Result<std::string> firstPass =
      Encode(*makers.value(), wanted, fit.plan.delayMs, {kilobits, 1, &stats}, request.abort);
  if (!firstPass.ok() && firstPass.cause() == base::Cause::Aborted) return firstPass.status();
  if (!firstPass.ok()) return Failed(request, firstPass.cause(), firstPass.message());
  progress(1, kMostEncodings + 1);

  std::optional<std::string> best;
  int bestKilobits = 0;
  std::size_t lastSize = 0;
  for (int tried = 0; tried < kMostEncodings; ++tried) {
    if (aborted()) return base::Status::Failed(base::Cause::Aborted, {});
    base::Result<std::string> bytes =
        Encode(*makers.value(), wanted, fit.plan.delayMs, {kilobits, 2, &stats}, request.abort);
    if (!bytes.ok() && bytes.cause() == base::Cause::Aborted) return bytes.status();
    if (!bytes.ok()) return Failed(request, bytes.cause(), bytes.message());
    progress(tried + 2, kMostEncodings + 1);
    const std::size_t size = bytes.value().size();
    const bool fits = static_cast<double>(size) <= limit;
    if (fits && (!best || size > best->size())) {
      best = std::move(bytes).value();
      bestKilobits = kilobits;
    }
    // Full enough, or more bits no longer make the file larger (the frames need no more).
    if (fits && (static_cast<double>(size) >= kFullEnough * limit ||
                 (lastSize > 0 && size <= lastSize + lastSize / 50))) {
      break;
    }
    if (!fits && kilobits <= kFewestKilobits) break;
    lastSize = fits ? size : 0;
    const double wantedShare = std::isinf(limit) ? 1.0 : kAim * limit / static_cast<double>(size);
    int next = static_cast<int>(
        std::clamp(kilobits * wantedShare, double{kFewestKilobits}, double{kMostKilobits}));
    // Never back to a bitrate that already fitted, nor up to one that did not.
    if (best && next <= bestKilobits) break;
    if (next == kilobits) break;
    kilobits = next;
  }
  if (!best) return Failed(request, base::Cause::TooLarge, base::Text(kStickerTooLargeText));

  fit.kilobitsPerSecond = bestKilobits;
  base::Result<StickerMeasure> measured = MeasureStickerBytes(Bytes(*best), request.file.string());
  if (!measured.ok()) return measured.status();
  fit.measure = measured.value();
  fit.rules = CheckSticker(target, fit.measure);
  if (!AllPass(fit.rules)) {
    return Failed(request, base::Cause::Unexpected,
                  base::Text(kStickerRulesText) + " (" + FailedStickerRules(fit.rules) + ")");
  }

  PsnrSum psnr;
  std::size_t shown = 0;
  const base::Status decoded =
      probe.value()->webmFrames(Bytes(*best).data(), best->size(), [&](const Surface& frame) {
        if (shown < wanted.size()) psnr.Add(wanted[shown], frame);
        ++shown;
      });
  if (!decoded.ok()) return Failed(request, decoded.cause(), decoded.message());
  fit.psnr = psnr.Db(shown, wanted.size());

  if (base::Status written = base::WriteFileAtomically(request.file, best->data(), best->size());
      !written.ok()) {
    return Failed(request, written.cause(), written.message());
  }
  return fit;
}

}  // namespace kinetta::exporter
