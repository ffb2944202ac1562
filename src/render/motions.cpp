// The table of the nine motions.
#include "render/motions.h"

#include <array>

#include "render/renderers/cutout.h"
#include "render/renderers/cylinder.h"
#include "render/renderers/disk.h"
#include "render/renderers/fade_in.h"
#include "render/renderers/flag.h"
#include "render/renderers/flip.h"
#include "render/renderers/plane.h"
#include "render/renderers/sphere.h"
#include "render/renderers/water.h"

namespace kinetta::render {

namespace {
constexpr std::array<Motion, 9> kMotions{{
    {Shape::Plane, "plane", "平面", &MakePlane, &plane::Size, &plane::TableBytes},
    {Shape::Disk, "disk", "円盤", &MakeDisk, &disk::Size, &NoTables},
    {Shape::Sphere, "sphere", "球体", &MakeSphere, &sphere::Size, &sphere::TableBytes},
    {Shape::Cylinder, "cylinder", "円柱", &MakeCylinder, &cylinder::Size, &cylinder::TableBytes},
    {Shape::Flag, "flag", "旗", &MakeFlag, &flag::Size, &flag::TableBytes},
    {Shape::Water, "water", "水面", &MakeWater, &water::Size, &NoTables},
    {Shape::Flip, "flip", "表裏回転", &MakeFlip, &flip::Size, &NoTables, true},
    {Shape::Cutout, "cutout", "切抜き", &MakeCutout, &cutout::Size, &NoTables, true},
    {Shape::FadeIn, "fadein", "フェードイン", &MakeFadeIn, &fadein::Size, &fadein::TableBytes},
}};
}  // namespace

double NoTables(const Settings&, int, int) { return 0; }

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
