// What the animation-file tests share: frames in memory as a reader, the frames of a real run,
// a picture of flat colour blocks, noise, and writing one file from frames.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "export/animation_file.h"
#include "render/geometry.h"
#include "render/surface.h"
#include "test_support.h"

namespace kinetta::exporter {

namespace fs = std::filesystem;
using render::Surface;

inline constexpr AnimationFormat kAllFormats[] = {AnimationFormat::Gif, AnimationFormat::WebP,
                                                  AnimationFormat::Mp4, AnimationFormat::Apng,
                                                  AnimationFormat::WebM};

inline FrameReader ReaderOf(const std::vector<Surface>& frames) {
  return [&frames](int k) -> base::Result<Surface> {
    if (k < 0 || k >= static_cast<int>(frames.size())) {
      return base::Result<Surface>::Failed(base::Cause::NotFound, "no frame " + std::to_string(k));
    }
    return frames[static_cast<std::size_t>(k)];
  };
}

inline std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The frames of a real run: `shape` on a w x h picture.
inline std::vector<Surface> Frames(const Surface& picture, int shape, int count) {
  base::Settings s;
  s.ShapeIndex = shape;
  s.WidthMode = 0;
  s.FrameCount = count;
  s.BackColor = render::Compose(20, 40, 60);
  return test::RenderAll(picture, s);
}

// A picture of 12 flat colours in blocks (few enough for an exact palette), or of `colours`
// (up to 60).
inline Surface BlockPicture(int w, int h, int colours = 12) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int block = (x / 8 + 3 * (y / 8)) % colours;
      s.PSet(x, y,
             render::Compose(block * 20 % 256, (255 - block * 17 + 1024) % 256, block * 97 % 256));
    }
  }
  return s;
}

// Noise everywhere, new in every frame, drawn from `seed`: the hardest to compress.
inline std::vector<Surface> NoiseFrames(int w, int h, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Surface> frames;
  for (int k = 0; k < count; ++k) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) s.PSet(x, y, static_cast<render::Colour>(random() & 0xFFFFFF));
    }
    frames.push_back(std::move(s));
  }
  return frames;
}

inline AnimationResult Write(const std::vector<Surface>& frames, AnimationFormat format,
                             const fs::path& target, const char* seconds = "0.2",
                             std::uint64_t memoryBudget = 0) {
  AnimationRequest request;
  request.format = format;
  request.memoryBudget = memoryBudget;
  request.delay = ReadAnimationTime(seconds).value();
  request.target = target;
  return WriteAnimation(ReaderOf(frames), request);
}

}  // namespace kinetta::exporter
