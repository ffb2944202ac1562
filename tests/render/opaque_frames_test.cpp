// Every frame of every motion drawn from an opaque picture over a background colour, checked
// against checksums of the frames as they were before transparency went through the motions:
// opaque pictures must come out byte for byte as they always have, on the plain paths too.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "render/geometry.h"
#include "render/motions.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

// A picture of scattered colours, white and black among them, so that every bit of every
// channel takes part.
Surface ScatteredPicture(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint32_t v =
          static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
      v = (v ^ (v >> 13)) * 0x5bd1e995u;
      v ^= v >> 15;
      const std::uint32_t c = (x + y) % 11 == 0   ? 0xFFFFFFu
                              : (x * y) % 13 == 5 ? 0u
                                                  : v & 0xFFFFFFu;
      s.PSet(x, y, static_cast<Colour>(c));
    }
  }
  return s;
}

// FNV-1a over the frames' sizes and pixels, in order.
std::uint64_t Checksum(const std::vector<Surface>& frames) {
  std::uint64_t h = 14695981039346656037u;
  const auto mix = [&h](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 1099511628211u;
    }
  };
  for (const Surface& f : frames) {
    mix(static_cast<std::uint32_t>(f.width()));
    mix(static_cast<std::uint32_t>(f.height()));
    for (int y = 0; y < f.height(); ++y) {
      for (int x = 0; x < f.width(); ++x) mix(f.Row(y)[x]);
    }
  }
  return h;
}

struct Case {
  int frames;
  int widthMode;
  int widthValue;
};
// Per motion: each case with the switch off, then on.
constexpr std::array<Case, 3> kCases{{{1, 0, 0}, {4, 2, 37}, {7, 1, 0}}};

constexpr std::array<std::array<std::uint64_t, 6>, 9> kExpected{{
    {{0x950ec9f0240e8090u, 0xc5f6fc5f31f650d6u, 0x8f30dfe0c9cf8dddu, 0x1ec9081f593b8382u,
      0xf5f287ac38b2755eu, 0x9affdb38e191f059u}},  // plane
    {{0x950ec9f0240e8090u, 0x950ec9f0240e8090u, 0x1462a3c83d0f30d6u, 0x1462a3c83d0f30d6u,
      0xd7926ac7f7fefcb2u, 0xd7926ac7f7fefcb2u}},  // disk
    {{0xa36393454ebb4f88u, 0x61651f4d8a7ba1a8u, 0x2363bb4e3d6905cfu, 0xa285cba12e66f845u,
      0xeebb3d6ef281ef5fu, 0x1dd0397132564c91u}},  // sphere
    {{0x7f5acc95b024773eu, 0xb2f16cde581fec2bu, 0x973d843306542bfbu, 0xe948c89e07bf5ae4u,
      0x7eb36abeba7591ccu, 0x82411b93153ee3a2u}},  // cylinder
    {{0x847e76954119414cu, 0x847e76954119414cu, 0x246b269a084594cau, 0x246b269a084594cau,
      0xaa47a4d50d533414u, 0xaa47a4d50d533414u}},  // flag
    {{0xe4f08b493191e1a8u, 0x3b5a7216436091a3u, 0x694dcb902348acbau, 0x15111df5950d5ceau,
      0xb8a56bbac4a9ce0fu, 0x8361f9de3dadc3d7u}},  // water
    {{0x6c7235a3d1b77f0cu, 0x72eada9f4acee053u, 0x256e5c63e2bc43dbu, 0x67513aff661e0450u,
      0x63ba116afd64bf36u, 0xa81a55483ae880e8u}},  // flip
    {{0x72e492ea2eec8ae3u, 0x72e492ea2eec8ae3u, 0x32b503635450e205u, 0x32b503635450e205u,
      0xdd18ef7575e67cc0u, 0xdd18ef7575e67cc0u}},  // cutout
    {{0x4f101c7d255cfee2u, 0x4f101c7d255cfee2u, 0x096f3a838da6cd4bu, 0x8c4e2d50638c6617u,
      0xc9518e9a5c2a7b5au, 0x27417466691e048bu}},  // fadein
}};

TEST(OpaqueFrames, EveryMotionDrawsTheFramesItAlwaysHas) {
  const Surface source = ScatteredPicture(31, 24);
  for (int shape = 0; shape < 9; ++shape) {
    for (std::size_t c = 0; c < kCases.size(); ++c) {
      for (const int shade : {0, 1}) {
        Settings s;
        s.ShapeIndex = shape;
        s.FrameCount = kCases[c].frames;
        s.WidthMode = kCases[c].widthMode;
        s.WidthValue = kCases[c].widthValue;
        s.Shade3D = shade;
        s.BackColor = Compose(40, 160, 220);
        const auto frames = test::RenderAll(source, s, 5, 2);
        ASSERT_EQ(static_cast<int>(frames.size()), s.FrameCount);
        EXPECT_EQ(
            Checksum(frames),
            kExpected[static_cast<std::size_t>(shape)][c * 2 + static_cast<std::size_t>(shade)])
            << FindMotion(shape)->id << " case " << c << " switch " << shade;
      }
    }
  }
}

}  // namespace
}  // namespace kinetta::render
