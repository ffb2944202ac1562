// Disk: the picture turns about the centre of the frame, once round over the run; pixels whose
// turned source position falls outside the frame show the background.
#include "render/renderers/disk.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::render {

namespace disk {

Centre CentreOf(int outW, int height) {
  return {RoundHalfEven(outW / 2.0), RoundHalfEven(height / 2.0)};
}

double TurnAngle(int k, int frameCount) {
  return static_cast<double>(k) * kPi * 2 / frameCount;
}

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

Turn::Turn(int outW, int height, double theta) : c_(CentreOf(outW, height)), theta_(theta) {
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

}  // namespace disk

namespace {

class Disk final : public Renderer {
 public:
  explicit Disk(const RenderInput& in)
      : Renderer(in),
        outW_(std::max(0, OutputWidth(in.settings, in.sourceWidth, in.sourceHeight))),
        height_(in.sourceHeight),
        back_(static_cast<std::uint32_t>(in.settings.BackColor) & 0xFFFFFFu) {}

  FrameSize Size() const override { return {outW_, height_}; }

  // Every pixel is written in every frame: the source where the turned position lies inside
  // the frame, else the background (the frame starts from a plain background each time).
  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) override {
    const disk::Turn turn(outW_, height_, disk::TurnAngle(k, in_.settings.FrameCount));
    const int workW = in_.work.width();
    for (int y = 0; y < height_; ++y) {
      if (IsCheckpointStep(y) && checkpoint.Step()) return false;
      std::uint32_t* dst = canvas.Row(y);
      for (int x = 0; x < outW_; ++x) {
        const disk::Source s = turn.At(x, y);
        if (s.x < 0 || s.x >= outW_ || s.y < 0 || s.y >= height_) {
          dst[x] = back_;
        } else {
          // Inside the frame but past a narrower source: the -1 of the read clamps to black.
          dst[x] = s.x < workW ? in_.work.Row(s.y)[s.x] : PackClamped(-1, 0, 0);
        }
      }
    }
    return true;
  }

 private:
  const int outW_;
  const int height_;
  const std::uint32_t back_;
};

}  // namespace

std::unique_ptr<Renderer> MakeDisk(const RenderInput& in) { return std::make_unique<Disk>(in); }

}  // namespace kinetta::render
