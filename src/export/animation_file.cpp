// WriteAnimation's course: read the frames once to count them, check their sizes and learn
// their colours, then read them again in order and encode them into a temporary file that
// replaces the target only when it is complete.
#include "export/animation_file.h"

#include <malloc.h>

#include <algorithm>
#include <future>
#include <memory>
#include <optional>

#include "base/atomic_file.h"
#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/number_text.h"
#include "base/path_helpers.h"
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

// Reads the frames in order, each next frame on another thread while the caller works on the
// current one: decoding a large frame file takes about as long as encoding it.
class FrameStream {
 public:
  explicit FrameStream(const FrameReader& read) : read_(read) {}
  ~FrameStream() {
    if (next_.valid()) next_.wait();
  }

  /// Frame k, or the failure that ends the frames. Calls must go 0, 1, 2, ...
  base::Result<render::Surface> Read(int k) {
    base::Result<render::Surface> frame = next_.valid() ? next_.get() : read_(k);
    if (frame.ok()) {
      next_ = std::async(std::launch::async, [this, k] { return read_(k + 1); });
    }
    return frame;
  }

 private:
  const FrameReader& read_;
  std::future<base::Result<render::Surface>> next_;
};

// Whether the frames being read (this one and the next, with the picture reader's own copy) and
// what the encoder holds fit in the memory the file may take; checked before the encoder takes
// any of it.
base::Status FitsInMemory(int width, int height, const AnimationEncoder& encoder,
                          const AnimationRequest& request) {
  constexpr std::uint64_t kReadBytesPerPixel = 16;
  const std::uint64_t needed =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
      (kReadBytesPerPixel + static_cast<std::uint64_t>(encoder.HeldBytesPerPixel()));
  std::uint64_t allowed = base::AvailableMemoryBytes();
  if (request.memoryBudget > 0) allowed = std::min(allowed, request.memoryBudget);
  if (needed <= allowed) return {};
  return base::Status::Failed(base::Cause::TooLarge,
                              base::TooLargeMessage(width, height, needed, allowed));
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

  // First pass: how many frames there are, that they are all one size, and their colours.
  std::optional<FrameStream> stream(std::in_place, frames);
  int count = 0;
  int width = 0;
  int height = 0;
  Report(request, 0, 0);
  while (true) {
    if (Aborted(request)) return aborted;
    const base::Result<render::Surface> next = stream->Read(count);
    if (!next.ok()) break;
    const render::Surface& frame = next.value();
    if (count == 0) {
      width = frame.width();
      height = frame.height();
      if (width > encoder->MaxSide() || height > encoder->MaxSide()) {
        return failed(base::Status::Failed(
            base::Cause::TooLarge, FrameOverFormatMessage(width, height, encoder->MaxSide())));
      }
      if (const base::Status fits = FitsInMemory(width, height, *encoder, request); !fits.ok()) {
        return failed(fits);
      }
    } else if (frame.width() != width || frame.height() != height) {
      return failed(base::Status::Failed(base::Cause::BrokenData,
                                         FrameSizeDiffersMessage(FrameNumber(count), frame.width(),
                                                                 frame.height(), width, height)));
    }
    encoder->Learn(frame);
    ++count;
    Report(request, count, 0);
  }
  if (count == 0) {
    return Failure(AnimationStatus::NoFrames,
                   base::Status::Failed(base::Cause::NotFound, base::kNoFramesMessage));
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
        if (base::Status started = encoder->Start(width, height, count, sink); !started.ok()) {
          return started;
        }
        stream.emplace(frames);
        for (int k = 0; k < count; ++k) {
          if (Aborted(request)) {
            stopped = true;
            return base::Status::Failed(base::Cause::Aborted, {});
          }
          const base::Result<render::Surface> frame = stream->Read(k);
          if (!frame.ok() || frame.value().width() != width || frame.value().height() != height) {
            return base::Status::Failed(frame.ok() ? base::Cause::BrokenData : frame.cause(),
                                        FrameNotRereadMessage(FrameNumber(k)));
          }
          if (base::Status added = encoder->Add(frame.value()); !added.ok()) return added;
          // The frame just read and the encoder's buffers of the frame before are freed by now;
          // the allocator would keep their pages for later, and with frames read on another
          // thread it keeps them in more than one place: back to the system they go.
          ::malloc_trim(0);
          Report(request, k + 1, count);
        }
        return encoder->Finish();
      });

  if (stopped) return aborted;
  if (!written.ok()) return failed(written);
  AnimationResult result;
  result.outcome = AnimationStatus::Written;
  result.frames = count;
  result.width = width;
  result.height = height;
  return result;
}

}  // namespace kinetta::exporter
