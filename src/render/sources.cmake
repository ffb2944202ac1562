# Rendering engine files: the driver, the shared helpers and one file per motion.
target_sources(kinetta_engine PRIVATE
  src/render/geometry.cpp
  src/render/motions.cpp
  src/render/renderer.cpp
  src/render/run.cpp
  src/render/surface.cpp
  src/render/renderers/plane.cpp
  src/render/renderers/disk.cpp
  src/render/renderers/sphere.cpp
  src/render/renderers/cylinder.cpp
  src/render/renderers/flag.cpp
  src/render/renderers/water.cpp
  src/render/renderers/flip.cpp
  src/render/renderers/cutout.cpp
  src/render/renderers/fade_in.cpp
)
