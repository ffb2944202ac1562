// The animation benchmark's helper, used by bench/vs-gif-tools.sh:
//   kinetta_animation encode gif|webp SOURCE OUT [SECONDS]
//       writes SOURCE's frame files (SOURCE00.bmp, ...) as OUT, as the desktop program does;
//   kinetta_animation compare FILE SOURCE
//       decodes the GIF or WebP FILE as a viewer shows it and prints its frame count, size in
//       bytes and PSNR in dB against SOURCE's frame files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "animation_decoder.h"
#include "base/path_helpers.h"
#include "export/animation_file.h"
#include "image/frame_files.h"
#include "image/picture_file.h"

namespace {

using namespace kinetta;

int Usage() {
  std::fprintf(stderr,
               "usage: kinetta_animation encode gif|webp SOURCE OUT [SECONDS]\n"
               "       kinetta_animation compare FILE SOURCE\n");
  return 2;
}

int Encode(const std::string& format, const std::string& source, const std::string& out,
           const std::string& seconds) {
  exporter::AnimationRequest request;
  request.format = format == "webp" ? exporter::AnimationFormat::WebP
                                    : exporter::AnimationFormat::Gif;
  const base::Result<exporter::AnimationDelay> delay = exporter::ReadAnimationTime(seconds);
  if (!delay.ok()) {
    std::fprintf(stderr, "%s\n", delay.message().c_str());
    return 2;
  }
  request.delay = delay.value();
  request.target = out;
  const exporter::AnimationResult result =
      exporter::WriteAnimation(image::FrameFileReader(source), request);
  if (result.status != exporter::AnimationStatus::Written) {
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return 1;
  }
  return 0;
}

int Compare(const std::filesystem::path& file, const std::string& source) {
  const bool webp = file.extension() == ".webp";
  const test::DecodedAnimation decoded = webp ? test::DecodeWebp(file) : test::DecodeGif(file);
  if (!decoded.ok) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), decoded.error.c_str());
    return 1;
  }
  std::vector<render::Surface> expected;
  for (;;) {
    base::Result<render::Surface> frame =
        image::LoadPicture(base::FrameFileName(source, static_cast<int>(expected.size())));
    if (!frame.ok()) break;
    expected.push_back(std::move(frame).value());
  }
  if (expected.size() != decoded.frames.size()) {
    std::fprintf(stderr, "%s: %zu frames, %zu frame files\n", file.c_str(),
                 decoded.frames.size(), expected.size());
    return 1;
  }
  std::printf("%zu %llu %.2f\n", decoded.frames.size(),
              static_cast<unsigned long long>(std::filesystem::file_size(file)),
              test::Psnr(decoded.frames, expected));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 4 && args[0] == "encode" && (args[1] == "gif" || args[1] == "webp")) {
    return Encode(args[1], args[2], args[3], args.size() > 4 ? args[4] : "0.2");
  }
  if (args.size() == 3 && args[0] == "compare") return Compare(args[1], args[2]);
  return Usage();
}
