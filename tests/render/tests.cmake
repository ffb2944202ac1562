# Engine tests: the driver, the helpers and one file per motion.
target_sources(engine_tests PRIVATE
  tests/render/geometry_test.cpp
  tests/render/run_test.cpp
  tests/render/renderer_contract_test.cpp
  tests/render/plane_test.cpp
)
