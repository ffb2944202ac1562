# Engine tests: the driver, the helpers and one file per motion.
target_sources(engine_tests PRIVATE
  tests/render/geometry_test.cpp
  tests/render/run_test.cpp
  tests/render/renderer_contract_test.cpp
  tests/render/plane_test.cpp
  tests/render/disk_test.cpp
  tests/render/sphere_test.cpp
  tests/render/cylinder_test.cpp
  tests/render/flag_test.cpp
  tests/render/water_test.cpp
  tests/render/flip_test.cpp
  tests/render/cutout_test.cpp
  tests/render/fade_in_test.cpp
)
