// The table of the nine motions.
#include "render/motions.h"

#include <array>

namespace kinetta::render {

namespace {
constexpr std::array<Motion, 9> kMotions{{
    {Shape::Plane, "plane", "平面", 1, &MakePlane},
    {Shape::Disk, "disk", "円盤", 1, &MakeDisk},
    {Shape::Sphere, "sphere", "球体", 1, &MakeSphere},
    {Shape::Cylinder, "cylinder", "円柱", 1, &MakeCylinder},
    {Shape::Flag, "flag", "旗", 1, &MakeFlag},
    {Shape::Water, "water", "水面", 1, &MakeWater},
    {Shape::Flip, "flip", "表裏回転", 1, &MakeFlip},
    {Shape::Cutout, "cutout", "切抜き", 2, &MakeCutout},
    {Shape::FadeIn, "fadein", "フェードイン", 1, &MakeFadeIn},
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
