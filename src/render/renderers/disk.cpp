// Disk: the picture turns about the centre of the frame, once round over the run; pixels whose
// turned source position falls outside the frame show the background.
#include "render/renderers/disk.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/vector_paths.h"

namespace kinetta::render {

namespace disk {

FrameSize Size(const Settings& s, int w, int h) { return {std::max(0, OutputWidth(s, w, h)), h}; }

Centre CentreOf(int outW, int height) {
  return {RoundHalfEven(outW / 2.0), RoundHalfEven(height / 2.0)};
}

double TurnAngle(int k, int frameCount) { return static_cast<double>(k) * kPi * 2 / frameCount; }

Source SourceOf(int x, int y, Centre c, double theta) {
  if (x == c.cx && y == c.cy) return {c.cx, c.cy};
  const double dx = x - c.cx;
  const double dy = y - c.cy;
  const double rho = std::sqrt(std::pow(dx, 2) + std::pow(dy, 2));
  double phi = ArcCos(dx / rho);
  // Straight left of the centre the arc cosine of -1 comes back as 0, not half a turn.
  if (x < c.cx && phi == 0) phi = kPi;
  if (y < c.cy) phi = kTwoPi - phi;
  phi = phi + theta;
  return {RoundHalfEven(std::cos(phi) * rho + c.cx), RoundHalfEven(std::sin(phi) * rho + c.cy)};
}

namespace {

// Adding and taking away 1.5 x 2^52 rounds a double to the nearest integer, halves to even
// (exact for |v| < 2^51, far beyond any frame); the loops run without branches.
constexpr double kRounder = 6755399441055744.0;

// The vectors of two and four lanes, in the compiler's generic form: the same source gives SSE2
// code, or AVX2 code in a function compiled for it.
template <int kLanes>
struct Lanes;
template <>
struct Lanes<2> {
  typedef double Doubles __attribute__((vector_size(16)));
  typedef std::int32_t Ints __attribute__((vector_size(8)));
};
template <>
struct Lanes<4> {
  typedef double Doubles __attribute__((vector_size(32)));
  typedef std::int32_t Ints __attribute__((vector_size(16)));
};

// kLanes pixels at a time from `next` while kLanes remain, with the same operations on each
// lane as the one-pixel route (no fused multiply-add), so the integers are the same. Returns 1
// when a value lay within `limit` of a halfway point, else 0.
template <int kLanes>
[[gnu::always_inline]] inline int LanesAtATime(double xx, double bx, double yx, double by,
                                               double limit, int cx, int x0, int x1, int& next,
                                               int* sx, int* sy) {
  using Doubles = typename Lanes<kLanes>::Doubles;
  using Ints = typename Lanes<kLanes>::Ints;
  Doubles d;
  for (int i = 0; i < kLanes; ++i) d[i] = next + i - cx;
  decltype(d < d) doubtful = {};
  // `x` apart from `next`: the stores could otherwise alias it and have it read again each time.
  int x = next;
  for (; x + kLanes <= x1; x += kLanes, d += static_cast<double>(kLanes)) {
    const Doubles vx = xx * d + bx;
    const Doubles vy = yx * d + by;
    const Doubles rx = (vx + kRounder) - kRounder;
    const Doubles ry = (vy + kRounder) - kRounder;
    const Ints ix = __builtin_convertvector(rx, Ints);
    const Ints iy = __builtin_convertvector(ry, Ints);
    std::memcpy(sx + (x - x0), &ix, sizeof ix);
    std::memcpy(sy + (x - x0), &iy, sizeof iy);
    const Doubles ex = vx - rx, ey = vy - ry;
    doubtful |= (ex >= limit) | (ex <= -limit) | (ey >= limit) | (ey <= -limit);
  }
  next = x;
  int any = 0;
  for (int i = 0; i < kLanes; ++i) any |= static_cast<int>(doubtful[i] != 0);
  return any;
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) int FourAtATime(double xx, double bx, double yx, double by,
                                                double limit, int cx, int x0, int x1, int& next,
                                                int* sx, int* sy) {
  return LanesAtATime<4>(xx, bx, yx, by, limit, cx, x0, x1, next, sx, sy);
}
#endif

}  // namespace

Turn::Turn(int outW, int height, double theta)
    : c_(CentreOf(outW, height)), outW_(outW), theta_(theta) {
  const double size = static_cast<double>(outW) + height;
  margin_ = 1e-9 * (size + 1) + 1e-13 * size * size;
  const double cosT = std::cos(theta), sinT = std::sin(theta);
  below_ = {cosT, -sinT, sinT, cosT};
  const double turnAbove = kTwoPi + theta;
  const double cosA = std::cos(turnAbove), sinA = std::sin(turnAbove);
  above_ = {cosA, -sinA, sinA, cosA};
  // Left of the centre on its row: cos(3.14159 + theta) x (-dx), the exact formula's own steps.
  const double turnLeft = kPi + theta;
  left_ = {-std::cos(turnLeft), 0, -std::sin(turnLeft), 0};
}

int Turn::SourceSpan(int y, int x0, int x1, int* sx, int* sy) const {
  if (y > c_.cy) return Segment(below_, y, x0, x1, sx, sy);
  if (y < c_.cy) return Segment(above_, y, x0, x1, sx, sy);
  const int split = std::clamp(c_.cx, x0, x1);
  return Segment(left_, y, x0, split, sx, sy) +
         Segment(below_, y, split, x1, sx + (split - x0), sy + (split - x0));
}

int Turn::Segment(const Rotation& r, int y, int x0, int x1, int* sx, int* sy) const {
  const double dy = y - c_.cy;
  const double bx = r.xy * dy + c_.cx;
  const double by = r.yy * dy + c_.cy;
  const double xx = r.xx, yx = r.yx;
  const int cx = c_.cx;
  const double limit = 0.5 - margin_;
  // The nearest integers of both coordinates; 1 where a value lies within the margin of a
  // halfway point, else 0 (the exact value, within the margin, then rounds alike).
  const auto nearest = [=](int x, int& ix, int& iy) {
    const double dx = x - cx;
    const double vx = xx * dx + bx;
    const double vy = yx * dx + by;
    const double rx = (vx + kRounder) - kRounder;
    const double ry = (vy + kRounder) - kRounder;
    ix = static_cast<int>(rx);
    iy = static_cast<int>(ry);
    return static_cast<std::int64_t>(std::fabs(vx - rx) >= limit) |
           static_cast<std::int64_t>(std::fabs(vy - ry) >= limit);
  };
  std::int64_t doubt = 0;
  int next = x0;  // the first pixel not yet worked out
  // Four pixels at a time where the processor has AVX2, then two (those four lanes leave).
#if defined(__x86_64__)
  static const bool fourLanes = CanUse(VectorSet::Avx2);
  if (fourLanes) doubt = FourAtATime(xx, bx, yx, by, limit, cx, x0, x1, next, sx, sy);
#endif
  static const bool twoLanes = VectorPathsEnabled();
  if (twoLanes) doubt |= LanesAtATime<2>(xx, bx, yx, by, limit, cx, x0, x1, next, sx, sy);
  for (; next < x1; ++next) doubt |= nearest(next, sx[next - x0], sy[next - x0]);
  if (doubt == 0) return 0;
  int doubtful = 0;
  for (int x = x0; x < x1; ++x) {
    if (!nearest(x, sx[x - x0], sy[x - x0])) continue;
    ++doubtful;
    const Source s = SourceOf(x, y, c_, theta_);
    sx[x - x0] = s.x;
    sy[x - x0] = s.y;
  }
  return doubtful;
}

}  // namespace disk

namespace {

#if defined(__x86_64__)
// DrawSpan's pixels eight at a time while eight remain, with one gather from the work picture
// (`work`, `workW` wide, rows one after another) and the same choices as the one-pixel loop:
// outside the frame the background, inside it but past the work picture `past`. Every other
// pixel asks for the source line that the row to come reads there (`aheadX`, `aheadY`; a
// turned row moves to another line every pixel or every few): the gathers then find most of
// their lines waiting. Returns the pixels done.
__attribute__((target("avx2"))) int GatherSpan(std::uint32_t* dst, int n, const int* sx,
                                               const int* sy, const int* aheadX, const int* aheadY,
                                               const std::uint32_t* work, int workW, int outW,
                                               int height, std::uint32_t back, std::uint32_t past) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i vOutW = _mm256_set1_epi32(outW), vHeight = _mm256_set1_epi32(height);
  const __m256i vWorkW = _mm256_set1_epi32(workW);
  const __m256i vBack = _mm256_set1_epi32(static_cast<int>(back));
  const __m256i vPast = _mm256_set1_epi32(static_cast<int>(past));
  int x = 0;
  for (; n - x >= 8; x += 8) {
    if (aheadX != nullptr) {
      for (int a = x; a < x + 8; a += 2) {
        const int ax = aheadX[a], ay = aheadY[a];
        if (ax >= 0 && ax < workW && ay >= 0 && ay < height) {
          __builtin_prefetch(work + static_cast<std::ptrdiff_t>(ay) * workW + ax);
        }
      }
    }
    const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sx + x));
    const __m256i py = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sy + x));
    // 0 <= px < outW and 0 <= py < height, then px < workW.
    const __m256i inFrame = _mm256_andnot_si256(
        _mm256_or_si256(_mm256_cmpgt_epi32(zero, px), _mm256_cmpgt_epi32(zero, py)),
        _mm256_and_si256(_mm256_cmpgt_epi32(vOutW, px), _mm256_cmpgt_epi32(vHeight, py)));
    const __m256i inWork = _mm256_and_si256(inFrame, _mm256_cmpgt_epi32(vWorkW, px));
    const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(py, vWorkW), px);
    const __m256i fallback = _mm256_blendv_epi8(vBack, vPast, inFrame);
    const __m256i c =
        _mm256_mask_i32gather_epi32(fallback, reinterpret_cast<const int*>(work), index, inWork, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x), c);
  }
  return x;
}
#endif

class Disk final : public RendererSizedBy<&disk::Size> {
 public:
  explicit Disk(const RenderInput& in)
      : RendererSizedBy(in),
        back_(Background()),
        past_(PastPicture(PackClamped(-1, 0, 0)))
#if defined(__x86_64__)
        ,
        // Gathers take 32-bit indices: pictures of up to 2^31 pixels.
        gather_(CanUse(VectorSet::Avx2) &&
                static_cast<std::int64_t>(in.work->width()) * height_ < (std::int64_t{1} << 31))
#endif
  {
  }

  // Every pixel is written in every frame: the source where the turned position lies inside
  // the frame, else the background (the frame starts from a plain background each time).
  // The frame is drawn in tiles of 32 rows by kTileWidth columns: a turned row crosses the
  // source's rows, and on a large picture each of those reads lands on another page, where a
  // tile's reads stay within a few hundred nearby rows. The source positions of a tile's rows
  // are worked out first; while a row is drawn, the source lines that the row kPrefetchRows
  // below will read are asked for, so that those reads overlap instead of waiting for memory
  // one after another. The checkpoint comes every 32 rows, as for a walk row by row.
  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const disk::Turn turn(outW_, height_, disk::TurnAngle(k, in_.settings.FrameCount));
    std::vector<int> sx(kTileWidth * 32), sy(kTileWidth * 32);
    return DrawStripsPaced(canvas, checkpoint, height_, [&](int y0, int y1) {
      for (int x0 = 0; x0 < outW_; x0 += kTileWidth) {
        const int x1 = std::min(x0 + kTileWidth, outW_);
        const auto rowAt = [&](std::vector<int>& v, int y) {
          return v.data() + static_cast<std::ptrdiff_t>(y - y0) * kTileWidth;
        };
        for (int y = y0; y < y1; ++y) turn.SourceSpan(y, x0, x1, rowAt(sx, y), rowAt(sy, y));
        for (int y = y0; y < y1; ++y) {
          const bool ahead = y + kPrefetchRows < y1;
          DrawSpan(canvas.Row(y) + x0, x1 - x0, rowAt(sx, y), rowAt(sy, y),
                   ahead ? rowAt(sx, y + kPrefetchRows) : nullptr,
                   ahead ? rowAt(sy, y + kPrefetchRows) : nullptr);
        }
      }
    });
  }

 private:
  static constexpr int kTileWidth = 512;
  static constexpr int kPrefetchRows = 4;

  // n pixels from their source positions: eight at a time by GatherSpan where the processor
  // has AVX2 (and the vector paths are on), the rest one by one. With `aheadX`, the source lines of
  // every 4th pixel of a row still to come are asked for on the way (a line holds 16 pixels; a
  // turned row moves to another line every pixel or every few).
  void DrawSpan(std::uint32_t* dst, int n, const int* sx, const int* sy, const int* aheadX,
                const int* aheadY) const {
    const int workW = in_.work->width();
    int x0 = 0;
#if defined(__x86_64__)
    if (gather_) {
      x0 = GatherSpan(dst, n, sx, sy, aheadX, aheadY, in_.work->Row(0), workW, outW_, height_,
                      back_, past_);
    }
#endif
    for (; x0 < n; x0 += 4) {
      if (aheadX != nullptr) {
        const int ax = aheadX[x0], ay = aheadY[x0];
        if (ax >= 0 && ax < workW && ay >= 0 && ay < height_) {
          __builtin_prefetch(in_.work->Row(ay) + ax);
        }
      }
      for (int x = x0; x < std::min(x0 + 4, n); ++x) {
        const int px = sx[x], py = sy[x];
        if (px < 0 || px >= outW_ || py < 0 || py >= height_) {
          dst[x] = back_;
        } else {
          // Inside the frame but past a narrower source: the -1 of the read clamps to black.
          dst[x] = px < workW ? in_.work->Row(py)[px] : past_;
        }
      }
    }
  }

  const int outW_ = Size().width;
  const int height_ = Size().height;
  const std::uint32_t back_;
  const std::uint32_t past_;  // a read inside the frame but past a narrower source
#if defined(__x86_64__)
  const bool gather_;  // spans by GatherSpan
#endif
};

}  // namespace

std::unique_ptr<Renderer> MakeDisk(const RenderInput& in) { return std::make_unique<Disk>(in); }

}  // namespace kinetta::render
