# Benchmarks: per-motion throughput with Google Benchmark (`make bench`), and
# bench/vs-ffmpeg.sh for whole runs side by side with ffmpeg and with copying files.
add_executable(kinetta_bench bench/renderers_bench.cpp)
target_link_libraries(kinetta_bench PRIVATE kinetta_engine benchmark::benchmark)
set_target_properties(kinetta_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# Encodes frame files into animation files and measures them, for bench/vs-gif-tools.sh.
add_executable(kinetta_animation bench/animation_tool.cpp)
target_link_libraries(kinetta_animation PRIVATE kinetta_picture kinetta_animation_decoder)
set_target_properties(kinetta_animation PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
