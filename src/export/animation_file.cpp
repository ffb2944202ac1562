// WriteAnimation's course: read the frames once to count them, check their sizes and learn
// their colours, then read them again in order and encode them into a temporary file that
// replaces the target only when it is complete.
#include "export/animation_file.h"

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
#include "export/html_page.h"
#include "export/video_module.h"

namespace kinetta::exporter {

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

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
  return base::Status::Failed(base::TooLargeMessage(width, height, needed, allowed));
}

AnimationResult Failure(AnimationStatus outcome, std::string message) {
  AnimationResult result;
  result.outcome = outcome;
  result.message = std::move(message);
  return result;
}

// The request's encoder; MP4 and APNG come from the video module, which fails to load only
// when the installation is incomplete.
base::Result<std::unique_ptr<AnimationEncoder>> MakeEncoder(const AnimationRequest& r) {
  using Made = base::Result<std::unique_ptr<AnimationEncoder>>;
  switch (r.format) {
    case AnimationFormat::WebP:
      return Made(MakeWebpEncoder(r.delay.webpMilliseconds));
    case AnimationFormat::Mp4:
    case AnimationFormat::Apng: {
      const base::Result<const VideoEncoderMakers*> video = VideoEncoders();
      if (!video.ok()) return Made::Failed(video.message());
      const VideoEncoderMakers& make = *video.value();
      return Made(r.format == AnimationFormat::Mp4
                      ? make.mp4(r.delay.webpMilliseconds, r.background)
                      : make.apng(r.delay.webpMilliseconds));
    }
    case AnimationFormat::Gif:
      break;
  }
  return Made(MakeGifEncoder(r.delay.gifCentiseconds));
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
  if (!checked.ok()) return base::Result<AnimationDelay>::Failed(checked.message());
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
    return base::Status::Failed(
        target.string() + " は原画です。アニメーションファイルには別の名前を選んでください。");
  }
  const int k = base::FrameNumberOf(target.filename().string(), base::FrameFileStem(sourcePath));
  if (k >= 0 && SameFile(target, base::FrameFileName(sourcePath, k))) {
    return base::Status::Failed(
        target.string() +
        " はこまのファイルです。アニメーションファイルには別の名前を選んでください。");
  }
  return {};
}

AnimationResult WriteAnimation(const FrameReader& frames, const AnimationRequest& request) {
  const std::string failed =
      std::string(base::kAnimationFailedMessage) + "\n" + request.target.string() + "\n";
  base::Result<std::unique_ptr<AnimationEncoder>> made = MakeEncoder(request);
  if (!made.ok()) return Failure(AnimationStatus::Failed, failed + made.message());
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
    if (Aborted(request)) return Failure(AnimationStatus::Aborted, {});
    const base::Result<render::Surface> next = stream->Read(count);
    if (!next.ok()) break;
    const render::Surface& frame = next.value();
    if (count == 0) {
      width = frame.width();
      height = frame.height();
      if (width > encoder->MaxSide() || height > encoder->MaxSide()) {
        return Failure(AnimationStatus::Failed,
                       failed + "こまの大きさ " + SizeText(width, height) + " は、この形式の上限 " +
                           std::to_string(encoder->MaxSide()) + " ピクセルを超えています。");
      }
      if (const base::Status fits = FitsInMemory(width, height, *encoder, request); !fits.ok()) {
        return Failure(AnimationStatus::Failed, failed + fits.message());
      }
    } else if (frame.width() != width || frame.height() != height) {
      return Failure(AnimationStatus::Failed, failed + "こま " + FrameNumber(count) + " の大きさ " +
                                                  SizeText(frame.width(), frame.height()) +
                                                  " が、こま 00 の " + SizeText(width, height) +
                                                  " と違います。変換をやり直してください。");
    }
    encoder->Learn(frame);
    ++count;
    Report(request, count, 0);
  }
  if (count == 0) return Failure(AnimationStatus::NoFrames, std::string(base::kNoFramesMessage));

  // Second pass: the frames in order into the file. A frame that can no longer be read (it was
  // deleted meanwhile) fails the whole file rather than leaving a shorter one.
  bool aborted = false;
  // The encoder's failure or a frame's, which comes before the file's; a failed write is the
  // file's to tell (the encoder then fails without a message).
  base::Status encoded;
  const base::Status written = base::WriteFileAtomically(request.target, [&](const ByteSink& sink) {
    encoded = encoder->Start(width, height, count, sink);
    if (!encoded.ok()) return false;
    stream.emplace(frames);
    for (int k = 0; k < count; ++k) {
      if (Aborted(request)) {
        aborted = true;
        return false;
      }
      const base::Result<render::Surface> frame = stream->Read(k);
      if (!frame.ok() || frame.value().width() != width || frame.value().height() != height) {
        encoded = base::Status::Failed("こま " + FrameNumber(k) + " を読み直せませんでした。");
        return false;
      }
      encoded = encoder->Add(frame.value());
      if (!encoded.ok()) return false;
      Report(request, k + 1, count);
    }
    encoded = encoder->Finish();
    return encoded.ok();
  });

  if (aborted) return Failure(AnimationStatus::Aborted, {});
  if (!written.ok()) {
    return Failure(AnimationStatus::Failed,
                   failed + (encoded.message().empty() ? written.message() : encoded.message()));
  }
  AnimationResult result;
  result.outcome = AnimationStatus::Written;
  result.frames = count;
  result.width = width;
  result.height = height;
  return result;
}

}  // namespace kinetta::exporter
