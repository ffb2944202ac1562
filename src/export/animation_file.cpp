// WriteAnimation's course: read the frames once to count them, check their sizes and learn
// their colours, then read them again in order and encode them into a temporary file that
// replaces the target only when it is complete.
#include "export/animation_file.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>

#include "base/atomic_file.h"
#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/number_text.h"
#include "base/path_helpers.h"
#include "base/text_lookup.h"
#include "export/animation_encoder.h"
#include "export/export_messages.h"
#include "export/html_page.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

// A frame's number as in its file name: at least two digits.
std::string FrameNumber(int k) {
  std::string text = std::to_string(k);
  if (text.size() < 2) text.insert(text.begin(), '0');
  return text;
}

bool Aborted(const AnimationRequest& r) {
  return r.abort != nullptr && r.abort->load(std::memory_order_relaxed);
}

void Report(const AnimationRequest& r, int done, int total) {
  if (r.progress) r.progress(done, total);
}

// A frame as the file takes it, and the size it was read at.
struct ReadFrame {
  render::Surface picture;
  int sourceWidth = 0;
  int sourceHeight = 0;
};

// Reads the frames in order, each next frame on another thread while the caller works on the
// current one: decoding a large frame file takes about as long as encoding it. A frame is
// scaled to the file's size on that thread too, as soon as it is read, so only one frame at its
// full size is held at a time.
class FrameStream {
 public:
  /// `sizeOf` gives the file's size for a frame of the size given.
  FrameStream(const FrameReader& read, std::function<render::ScaledSize(int, int)> sizeOf)
      : read_(read), sizeOf_(std::move(sizeOf)) {}
  ~FrameStream() {
    if (next_.valid()) next_.wait();
  }

  /// Frame k, or the failure that ends the frames. Calls must go 0, 1, 2, ...
  base::Result<ReadFrame> Read(int k) {
    base::Result<ReadFrame> frame = next_.valid() ? next_.get() : ReadScaled(k);
    if (frame.ok()) {
      next_ = std::async(std::launch::async, [this, k] { return ReadScaled(k + 1); });
    }
    return frame;
  }

 private:
  base::Result<ReadFrame> ReadScaled(int k) const {
    base::Result<render::Surface> read = read_(k);
    if (!read.ok()) return read.status();
    ReadFrame frame;
    frame.picture = std::move(read).value();
    frame.sourceWidth = frame.picture.width();
    frame.sourceHeight = frame.picture.height();
    const render::ScaledSize size = sizeOf_(frame.sourceWidth, frame.sourceHeight);
    if (size.width != frame.sourceWidth || size.height != frame.sourceHeight) {
      frame.picture = render::Scaled(frame.picture, size.width, size.height);
    }
    return frame;
  }

  const FrameReader& read_;
  std::function<render::ScaledSize(int, int)> sizeOf_;
  std::future<base::Result<ReadFrame>> next_;
};

// Whether the frames being read (this one and the next, with the picture reader's own copy, and
// their scaled copies when the file is smaller) and what the encoder holds fit in the memory
// the file may take; checked before the encoder takes any of it.
base::Status FitsInMemory(int sourceWidth, int sourceHeight, int width, int height,
                          const AnimationEncoder& encoder, const AnimationRequest& request) {
  constexpr std::uint64_t kReadBytesPerPixel = 16;
  constexpr std::uint64_t kScaledBytesPerPixel = 8;
  const auto pixels = [](int w, int h) {
    return static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
  };
  const bool scaled = sourceWidth != width || sourceHeight != height;
  const std::uint64_t needed =
      pixels(sourceWidth, sourceHeight) * kReadBytesPerPixel +
      pixels(width, height) * ((scaled ? kScaledBytesPerPixel : 0) +
                               static_cast<std::uint64_t>(encoder.HeldBytesPerPixel()));
  std::uint64_t allowed = base::AvailableMemoryBytes();
  if (request.memoryBudget > 0) allowed = std::min(allowed, request.memoryBudget);
  if (needed <= allowed) return {};
  return base::Status::Failed(base::Cause::TooLarge,
                              base::TooLargeMessage(sourceWidth, sourceHeight, needed, allowed));
}

AnimationResult Failure(AnimationStatus outcome, base::Status status) {
  AnimationResult result;
  result.outcome = outcome;
  result.status = std::move(status);
  return result;
}

// The request's encoder; MP4, APNG and WebM come from the video module, which fails to load only
// when the installation is incomplete.
base::Result<std::unique_ptr<AnimationEncoder>> MakeEncoder(const AnimationRequest& r) {
  using Made = base::Result<std::unique_ptr<AnimationEncoder>>;
  switch (r.format) {
    case AnimationFormat::WebP:
      return Made(MakeWebpEncoder(r.delay.webpMilliseconds, r.webpQuality));
    case AnimationFormat::Mp4:
    case AnimationFormat::Apng:
    case AnimationFormat::WebM: {
      const base::Result<const VideoEncoderMakers*> video = VideoEncoders();
      if (!video.ok()) return video.status();
      const VideoEncoderMakers& make = *video.value();
      if (r.format == AnimationFormat::Mp4) {
        return Made(make.mp4(r.delay.webpMilliseconds, r.background));
      }
      return Made(r.format == AnimationFormat::Apng ? make.apng(r.delay.webpMilliseconds, 0)
                                                    : make.webm(r.delay.webpMilliseconds));
    }
    case AnimationFormat::Gif:
      break;
  }
  return Made(MakeGifEncoder(r.delay.gifCentiseconds, r.matte));
}

}  // namespace

std::string_view AnimationExtension(AnimationFormat format) {
  switch (format) {
    case AnimationFormat::WebP:
      return ".webp";
    case AnimationFormat::Mp4:
      return ".mp4";
    case AnimationFormat::Apng:
      return ".png";
    case AnimationFormat::WebM:
      return ".webm";
    case AnimationFormat::Gif:
      break;
  }
  return ".gif";
}

std::filesystem::path DefaultAnimationPath(std::string_view sourcePath, AnimationFormat format) {
  const std::string base = base::FrameBaseName(sourcePath);
  const std::string extension(AnimationExtension(format));
  // cat.png's APNG (or cat.gif's GIF) would be the picture itself: another name then.
  if (base + extension == sourcePath) return std::filesystem::path(base + "_anim" + extension);
  return std::filesystem::path(base + extension);
}

base::Result<AnimationDelay> ReadAnimationTime(std::string_view text) {
  // The same refusals as the page's frame time; the delays are then taken from the seconds
  // themselves, so hundredths are rounded once, not from rounded milliseconds.
  const base::Result<FrameTime> checked = ReadFrameTime(text);
  if (!checked.ok()) return checked.status();
  AnimationDelay delay;
  delay.gifCentiseconds =
      std::max(kMinGifCentiseconds, *base::ToInt16(checked.value().seconds * 100));
  delay.webpMilliseconds = std::max(kMinWebpMilliseconds, checked.value().ms);
  return delay;
}

namespace {

// The most macroblocks a frame may have at level 5.1 when frames follow each other every
// `delayMilliseconds`: the level's frame limit, or its limit per second at a fast rate.
int Level51Macroblocks(int delayMilliseconds) {
  const std::int64_t perSecond =
      static_cast<std::int64_t>(kLevel51MacroblocksPerSecond) * std::max(1, delayMilliseconds);
  return static_cast<int>(std::min<std::int64_t>(kLevel51Macroblocks, perSecond / 1000));
}

// Whether an MP4 of `width` x `height` (even sides) has at most `most` macroblocks and no side
// over the level's: a macroblock that the picture covers only in part counts whole.
bool FitsLevel51(int width, int height, int most) {
  const int across = (width + 15) / 16;
  const int down = (height + 15) / 16;
  return across <= kLevel51SideMacroblocks && down <= kLevel51SideMacroblocks &&
         across * down <= most;
}

}  // namespace

render::ScaledSize WithinLevel51(int width, int height, int delayMilliseconds) {
  const int most = Level51Macroblocks(delayMilliseconds);
  if (FitsLevel51(width + width % 2, height + height % 2, most)) return {width, height};
  const int longer = std::max(width, height);
  const int shorter = std::min(width, height);
  // The longer side the level's area and side allow, then two less at a time until the whole
  // macroblocks fit; the rounding of the sides up to macroblocks costs a few steps at most.
  const double scale = std::min(std::sqrt(most * 256.0 / (static_cast<double>(width) * height)),
                                kLevel51SideMacroblocks * 16.0 / longer);
  for (int side = static_cast<int>(longer * scale) & ~1; side >= 2; side -= 2) {
    const int other = std::max(
        2, 2 * static_cast<int>(std::lround(static_cast<double>(shorter) * side / longer / 2)));
    const render::ScaledSize size =
        width >= height ? render::ScaledSize{side, other} : render::ScaledSize{other, side};
    if (FitsLevel51(size.width, size.height, most)) return size;
  }
  return {2, 2};
}

AnimationSize PlanAnimationSize(AnimationFormat format, int width, int height, int maxSide,
                                int delayMilliseconds) {
  const render::ScaledSize fitted = render::FitLongerSide(width, height, maxSide);
  AnimationSize size{fitted.width, fitted.height, false};
  if (format != AnimationFormat::Mp4) return size;
  const render::ScaledSize within = WithinLevel51(fitted.width, fitted.height, delayMilliseconds);
  if (within.width == fitted.width && within.height == fitted.height) return size;
  // Scaled once, from the frames' own size, so the proportions are theirs.
  const render::ScaledSize level = WithinLevel51(width, height, delayMilliseconds);
  return {level.width, level.height, true};
}

std::uint64_t EstimateAnimationBytes(AnimationFormat format, int width, int height, int frames,
                                     std::optional<int> webpQuality) {
  // Bytes a pixel for the first frame and for each later one, as the files of a phone photo's
  // flag and sphere came out (12 frames of about 500 x 750, the mean of the two; at 1344 x 2112
  // the flag's were within a tenth of them): every motion moves the whole picture, so each
  // later frame of the lossless formats costs nearly as much as the first, while the videos
  // tell only the change. A drawing's flat colours give smaller files than these.
  struct Rate {
    double first;
    double later;
  };
  Rate rate{0.36, 0.36};  // GIF
  switch (format) {
    case AnimationFormat::WebP:
      rate = {0.94, 0.96};
      break;
    case AnimationFormat::Mp4:
      rate = {0.16, 0.08};
      break;
    case AnimationFormat::Apng:
      rate = {1.18, 1.17};
      break;
    case AnimationFormat::WebM:
      rate = {0.19, 0.02};
      break;
    case AnimationFormat::Gif:
      break;
  }
  if (format == AnimationFormat::WebP && webpQuality) {
    // A lossy WebP grows slowly with the quality up to about 80 and steeply above: the flag's
    // and the sphere's bytes a pixel at these qualities, in between along a straight line.
    constexpr std::pair<int, double> kLossy[] = {{1, 0.013},  {30, 0.021}, {60, 0.035},
                                                 {80, 0.060}, {95, 0.21},  {100, 0.31}};
    const int q = std::clamp(*webpQuality, kMinWebpQuality, kMaxWebpQuality);
    std::size_t i = 1;
    while (i + 1 < std::size(kLossy) && kLossy[i].first < q) ++i;
    const auto [q0, r0] = kLossy[i - 1];
    const auto [q1, r1] = kLossy[i];
    const double r = r0 + (r1 - r0) * (q - q0) / (q1 - q0);
    rate = {r, r};
  }
  const double pixels = static_cast<double>(width) * height;
  return static_cast<std::uint64_t>(pixels * (rate.first + rate.later * std::max(0, frames - 1)));
}

namespace {

// Whether `a` and `b` name one file: the same path once links and dots are resolved, or, both
// existing, the same file.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  const std::filesystem::path ca = std::filesystem::weakly_canonical(a, error);
  if (error) return false;
  const std::filesystem::path cb = std::filesystem::weakly_canonical(b, error);
  if (error) return false;
  if (ca == cb) return true;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

base::Status CheckAnimationTarget(const std::filesystem::path& target,
                                  std::string_view sourcePath) {
  if (SameFile(target, std::filesystem::path(sourcePath))) {
    return base::Status::Failed(base::Cause::WouldReplace, TargetIsSourceMessage(target.string()));
  }
  const int k = base::FrameNumberOf(target.filename().string(), base::FrameFileStem(sourcePath));
  if (k >= 0 && SameFile(target, base::FrameFileName(sourcePath, k))) {
    return base::Status::Failed(base::Cause::WouldReplace, TargetIsFrameMessage(target.string()));
  }
  return {};
}

AnimationResult WriteAnimation(const FrameReader& frames, const AnimationRequest& request) {
  // A failure, told with the file it is about.
  const auto failed = [&request](const base::Status& why) {
    return Failure(AnimationStatus::Failed,
                   base::Status::Failed(why.cause(), AnimationFailedMessage(request.target.string(),
                                                                            why.message())));
  };
  const AnimationResult aborted =
      Failure(AnimationStatus::Aborted, base::Status::Failed(base::Cause::Aborted, {}));
  base::Result<std::unique_ptr<AnimationEncoder>> made = MakeEncoder(request);
  if (!made.ok()) return failed(made.status());
  const std::unique_ptr<AnimationEncoder> encoder = std::move(made).value();

  // Temporaries a killed writer left beside the target go first.
  base::RemoveStaleTemporaries(request.target.parent_path());

  // The file's size follows from the frames' own: frames of another size than frame 00 are
  // refused below, so one size for all is enough.
  AnimationSize planned;
  const auto sizeOf = [&request](int w, int h) {
    const AnimationSize size =
        PlanAnimationSize(request.format, w, h, request.maxSide, request.delay.webpMilliseconds);
    return render::ScaledSize{size.width, size.height};
  };

  // First pass: how many frames there are, that they are all one size, and their colours.
  std::optional<FrameStream> stream(std::in_place, frames, sizeOf);
  int count = 0;
  int sourceWidth = 0;
  int sourceHeight = 0;
  Report(request, 0, 0);
  while (true) {
    if (Aborted(request)) return aborted;
    const base::Result<ReadFrame> next = stream->Read(count);
    if (!next.ok()) break;
    const ReadFrame& frame = next.value();
    if (count == 0) {
      sourceWidth = frame.sourceWidth;
      sourceHeight = frame.sourceHeight;
      planned = PlanAnimationSize(request.format, sourceWidth, sourceHeight, request.maxSide,
                                  request.delay.webpMilliseconds);
      if (planned.width > encoder->MaxSide() || planned.height > encoder->MaxSide()) {
        return failed(base::Status::Failed(
            base::Cause::TooLarge,
            FrameOverFormatMessage(planned.width, planned.height, encoder->MaxSide())));
      }
      if (const base::Status fits = FitsInMemory(sourceWidth, sourceHeight, planned.width,
                                                 planned.height, *encoder, request);
          !fits.ok()) {
        return failed(fits);
      }
    } else if (frame.sourceWidth != sourceWidth || frame.sourceHeight != sourceHeight) {
      return failed(base::Status::Failed(
          base::Cause::BrokenData,
          FrameSizeDiffersMessage(FrameNumber(count), frame.sourceWidth, frame.sourceHeight,
                                  sourceWidth, sourceHeight)));
    }
    encoder->Learn(frame.picture);
    ++count;
    Report(request, count, 0);
  }
  if (count == 0) {
    return Failure(AnimationStatus::NoFrames,
                   base::Status::Failed(base::Cause::NotFound, base::Text(base::kNoFramesMessage)));
  }

  // Second pass: the frames in order into the file. A frame that can no longer be read (it was
  // deleted meanwhile) fails the whole file rather than leaving a shorter one.
  bool stopped = false;
  // The file fails with a write that failed, which the encoders leave to it (they hand the bytes
  // on and fail without a message of their own), else with the encoder's or a frame's failure.
  const base::Status written =
      base::WriteFileAtomically(request.target, [&](const base::Writer& write) {
        const ByteSink sink = [&write](const void* data, std::size_t size) {
          return write(data, size).ok();
        };
        if (base::Status started = encoder->Start(planned.width, planned.height, count, sink);
            !started.ok()) {
          return started;
        }
        stream.emplace(frames, sizeOf);
        for (int k = 0; k < count; ++k) {
          if (Aborted(request)) {
            stopped = true;
            return base::Status::Failed(base::Cause::Aborted, {});
          }
          const base::Result<ReadFrame> frame = stream->Read(k);
          if (!frame.ok() || frame.value().sourceWidth != sourceWidth ||
              frame.value().sourceHeight != sourceHeight) {
            return base::Status::Failed(frame.ok() ? base::Cause::BrokenData : frame.cause(),
                                        FrameNotRereadMessage(FrameNumber(k)));
          }
          if (base::Status added = encoder->Add(frame.value().picture); !added.ok()) return added;
          Report(request, k + 1, count);
        }
        return encoder->Finish();
      });

  if (stopped) return aborted;
  if (!written.ok()) return failed(written);
  AnimationResult result;
  result.outcome = AnimationStatus::Written;
  result.frames = count;
  result.width = planned.width;
  result.height = planned.height;
  result.withinLevel = planned.withinLevel;
  return result;
}

}  // namespace kinetta::exporter
