# Benchmarks: per-motion throughput with Google Benchmark (`make bench`), and
# bench/vs-ffmpeg.sh for whole runs side by side with ffmpeg and with copying files.
add_executable(kinetta_bench bench/renderers_bench.cpp)
target_link_libraries(kinetta_bench PRIVATE kinetta_engine benchmark::benchmark)
set_target_properties(kinetta_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
