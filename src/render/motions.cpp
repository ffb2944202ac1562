// The table of the nine motions.
#include "render/motions.h"

#include <array>

namespace kinetta::render {

namespace {
constexpr std::array<Motion, 9> kMotions{{
    {Shape::Plane, "plane", "平面", &MakePlane},
    {Shape::Disk, "disk", "円盤", &MakeDisk},
    {Shape::Sphere, "sphere", "球体", &MakeSphere},
    {Shape::Cylinder, "cylinder", "円柱", &MakeCylinder},
    {Shape::Flag, "flag", "旗", &MakeFlag},
    {Shape::Water, "water", "水面", &MakeWater},
    {Shape::Flip, "flip", "表裏回転", &MakeFlip},
    {Shape::Cutout, "cutout", "切抜き", &MakeCutout},
    {Shape::FadeIn, "fadein", "フェードイン", &MakeFadeIn},
}};
}  // namespace

std::span<const Motion> Motions() { return kMotions; }

const Motion* FindMotion(int shapeIndex) {
  if (shapeIndex < 0 || shapeIndex >= static_cast<int>(kMotions.size())) return nullptr;
  return &kMotions[static_cast<std::size_t>(shapeIndex)];
}

const Motion* FindMotionById(std::string_view id) {
  for (const Motion& m : kMotions) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

}  // namespace kinetta::render
