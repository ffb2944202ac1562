// The animation benchmarks' helper, used by bench/vs-gif-tools.sh and bench/vs-video-tools.sh:
//   kinetta_animation encode gif|webp|mp4|apng|webm SOURCE OUT [SECONDS]
//       writes SOURCE's frame files (SOURCE00.bmp, ...) as OUT, as the desktop program does;
//   kinetta_animation sticker TARGET SOURCE OUT [SECONDS]
//       fits SOURCE's frame files (BMP or PNG) to a sticker target as OUT, and prints its
//       bytes, frames, bitrate or colour bits and PSNR;
//   kinetta_animation compare FILE SOURCE
//       decodes the GIF, WebP, MP4, WebM or APNG FILE (told by its extension: .gif, .webp,
//       .mp4, .webm, anything else APNG) as a viewer shows it and prints its frame count, size in
//       bytes and PSNR in dB against SOURCE's frame files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "animation_decoder.h"
#include "base/memory_budget.h"
#include "base/path_helpers.h"
#include "export/animation_file.h"
#include "export/sticker_fit.h"
#include "image/frame_files.h"
#include "image/picture_file.h"
#include "video_decoder.h"

namespace {

using namespace kinetta;

int Usage() {
  std::fprintf(stderr,
               "usage: kinetta_animation encode gif|webp|mp4|apng|webm SOURCE OUT [SECONDS]\n"
               "       kinetta_animation sticker TARGET SOURCE OUT [SECONDS]\n"
               "       kinetta_animation compare FILE SOURCE\n");
  return 2;
}

exporter::AnimationFormat FormatOf(const std::string& name) {
  if (name == "webp") return exporter::AnimationFormat::WebP;
  if (name == "mp4") return exporter::AnimationFormat::Mp4;
  if (name == "apng") return exporter::AnimationFormat::Apng;
  if (name == "webm") return exporter::AnimationFormat::WebM;
  return exporter::AnimationFormat::Gif;
}

test::DecodedAnimation Decode(const std::filesystem::path& file) {
  const std::filesystem::path extension = file.extension();
  if (extension == ".gif") return test::DecodeGif(file);
  if (extension == ".webp") return test::DecodeWebp(file);
  return test::DecodeVideo(file);
}

int Encode(const std::string& format, const std::string& source, const std::string& out,
           const std::string& seconds) {
  exporter::AnimationRequest request;
  request.format = FormatOf(format);
  const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(seconds);
  if (!delay.ok()) {
    std::fprintf(stderr, "%s\n", delay.message().c_str());
    return 2;
  }
  request.delay = delay.value();
  request.target = out;
  const exporter::AnimationResult result =
      exporter::WriteAnimation(image::FrameFileReader(source), request);
  if (result.outcome != exporter::AnimationStatus::Written) {
    std::fprintf(stderr, "%s\n", result.status.message().c_str());
    return 1;
  }
  return 0;
}

int Sticker(const std::string& target, const std::string& source, const std::string& out,
            const std::string& seconds) {
  exporter::StickerRequest request;
  request.target = exporter::FindStickerTarget(target);
  const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(seconds);
  if (request.target == nullptr || !delay.ok()) return Usage();
  base::Settings settings;
  settings.FrameFiles = std::filesystem::exists(base::FrameFileName(source, 0))
                            ? base::FrameFormat::Bmp
                            : base::FrameFormat::Png;
  const image::FrameReader frames = image::FrameFileReader(source, settings);
  while (frames(request.frameCount).ok()) ++request.frameCount;
  request.delayMs = delay.value().webpMilliseconds;
  request.file = out;
  const base::Result<exporter::StickerFit> fit = exporter::FitSticker(frames, request);
  if (!fit.ok()) {
    std::fprintf(stderr, "%s\n", fit.message().c_str());
    return 1;
  }
  const exporter::StickerFit& f = fit.value();
  std::printf("%llu bytes, %d frames, %dx%d, %d kbit/s, %d colour bits, PSNR %.2f dB\n",
              static_cast<unsigned long long>(f.measure.bytes), f.measure.frames, f.measure.width,
              f.measure.height, f.kilobitsPerSecond, f.colourBits, f.psnr);
  return 0;
}

int Compare(const std::filesystem::path& file, const std::string& source) {
  const test::DecodedAnimation decoded = Decode(file);
  if (!decoded.ok) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), decoded.error.c_str());
    return 1;
  }
  std::vector<render::Surface> expected;
  for (;;) {
    base::Result<image::Picture> frame =
        image::LoadPicture(base::FrameFileName(source, static_cast<int>(expected.size())));
    if (!frame.ok()) break;
    expected.push_back(std::move(frame).value().pixels);
  }
  if (expected.size() != decoded.frames.size()) {
    std::fprintf(stderr, "%s: %zu frames, %zu frame files\n", file.c_str(), decoded.frames.size(),
                 expected.size());
    return 1;
  }
  std::printf("%zu %llu %.2f\n", decoded.frames.size(),
              static_cast<unsigned long long>(std::filesystem::file_size(file)),
              test::Psnr(decoded.frames, expected));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  kinetta::base::KeepFreedBlocksForReuse();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto known = [](const std::string& f) {
    return f == "gif" || f == "webp" || f == "mp4" || f == "apng";
  };
  if (args.size() >= 4 && args[0] == "encode" && known(args[1])) {
    return Encode(args[1], args[2], args[3], args.size() > 4 ? args[4] : "0.2");
  }
  if (args.size() >= 4 && args[0] == "sticker") {
    return Sticker(args[1], args[2], args[3], args.size() > 4 ? args[4] : "0.2");
  }
  if (args.size() == 3 && args[0] == "compare") return Compare(args[1], args[2]);
  return Usage();
}
