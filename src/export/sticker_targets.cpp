// The targets' table looked up by name, and the plan that fits a run's frames to a target.
#include "export/sticker_targets.h"

#include <algorithm>

#include "render/motions.h"

namespace kinetta::exporter {

namespace {

// a x b / c to the nearest whole number, at least 1.
int ScaledSide(long long a, long long b, long long c) {
  return static_cast<int>(std::max<long long>(1, (2 * a * b + c) / (2 * c)));
}

// The size: scaled into the target's box, keeping proportions, then centred on a fixed size.
void PlanSize(const StickerTarget& t, int w, int h, StickerPlan& plan) {
  const bool fixed = t.minWidth > 0 && t.minWidth == t.maxWidth && t.minHeight == t.maxHeight;
  // Enlarged only where the target asks for a side of its own: a small emoji stays sharp.
  const bool enlarge = fixed || t.minLongerSide > 0;
  int pw = w, ph = h;
  if (t.maxWidth > 0 && t.maxHeight > 0 && (enlarge || w > t.maxWidth || h > t.maxHeight)) {
    if (static_cast<long long>(w) * t.maxHeight >= static_cast<long long>(h) * t.maxWidth) {
      pw = t.maxWidth;
      ph = ScaledSide(h, t.maxWidth, w);
    } else {
      ph = t.maxHeight;
      pw = ScaledSide(w, t.maxHeight, h);
    }
  }
  plan.pictureWidth = pw;
  plan.pictureHeight = ph;
  plan.width = std::max(pw, t.minWidth);
  plan.height = std::max(ph, t.minHeight);
  plan.left = (plan.width - pw) / 2;
  plan.top = (plan.height - ph) / 2;
}

// The frames, their time and the plays.
void PlanTiming(const StickerTarget& t, int n, int delay, StickerPlan& plan) {
  const bool gif = t.container == StickerContainer::Gif;
  const long long step = gif ? 10 : 1;  // a GIF counts hundredths of a second
  long long minDelay = gif ? 20 : 1;    // browsers slow down a GIF frame shorter than 20 ms
  if (t.maxFramesPerSecond > 0) {
    minDelay =
        std::max<long long>(minDelay, (1000 + t.maxFramesPerSecond - 1) / t.maxFramesPerSecond);
  }
  long long loop = static_cast<long long>(n) * delay;
  if (t.maxMilliseconds > 0) loop = std::min<long long>(loop, t.maxMilliseconds);
  long long frames = n;
  if (t.maxFrames > 0) frames = std::min<long long>(frames, t.maxFrames);
  frames = std::max<long long>(frames, std::max(t.minFrames, 1));
  if (frames * minDelay > loop) {
    // Too fast for the rate: fewer frames, or, below the fewest, a longer loop.
    frames = std::max<long long>(loop / minDelay, std::max(t.minFrames, 1));
    loop = std::max(loop, frames * minDelay);
  }
  long long each = std::max(minDelay, (loop + frames * step / 2) / (frames * step) * step);
  if (t.maxMilliseconds > 0 && frames * each > t.maxMilliseconds) {
    each = std::max(minDelay, t.maxMilliseconds / frames / step * step);
  }
  plan.frames = static_cast<int>(frames);
  plan.delayMs = static_cast<int>(each);
  plan.plays = 0;
  if (t.maxPlays > 0) {
    const long long fit = t.maxMilliseconds > 0 ? t.maxMilliseconds / (frames * each) : t.maxPlays;
    plan.plays = static_cast<int>(std::clamp<long long>(fit, 1, t.maxPlays));
  }
}

}  // namespace

const StickerTarget* FindStickerTarget(std::string_view name) {
  for (const StickerTarget& t : kStickerTargets) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

bool ClearBackgroundByDefault(const StickerTarget& target) {
  return target.container != StickerContainer::Gif;
}

StickerPlan PlanSticker(const StickerTarget& target, int frameWidth, int frameHeight,
                        int frameCount, int delayMs) {
  StickerPlan plan;
  PlanSize(target, std::max(frameWidth, 1), std::max(frameHeight, 1), plan);
  PlanTiming(target, std::max(frameCount, 1), std::max(delayMs, 1), plan);
  return plan;
}

std::optional<StickerPlan> PlanStickerForRun(const StickerTarget& target,
                                             const base::Settings& settings, int sourceWidth,
                                             int sourceHeight, int delayMs) {
  const render::Motion* motion = render::FindMotion(settings.ShapeIndex);
  if (motion == nullptr || settings.FrameCount < 1) return std::nullopt;
  const render::FrameSize size = motion->size(settings, sourceWidth, sourceHeight);
  if (size.width < 1 || size.height < 1) return std::nullopt;
  return PlanSticker(target, size.width, size.height, settings.FrameCount, delayMs);
}

int PlannedSourceFrame(int frameCount, int planned, int k) {
  if (planned < 1) return 0;
  return static_cast<int>(static_cast<long long>(k) * frameCount / planned);
}

}  // namespace kinetta::exporter
