// Placeholder until this motion's renderer lands: it refuses to draw (a zero-sized frame).
#include <memory>

#include "render/motions.h"

namespace kinetta::render {
namespace {
class Pending final : public Renderer {
 public:
  explicit Pending(const RenderInput& in) : Renderer(in) {}
  FrameSize Size() const override { return {0, 0}; }
  bool DrawFrame(int, Surface&, Checkpoint&) override { return false; }
};
}  // namespace
std::unique_ptr<Renderer> MakeDisk(const RenderInput& in) { return std::make_unique<Pending>(in); }
}  // namespace kinetta::render
