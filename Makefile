# Kinetta: `make run` builds and starts the desktop program, `make test` builds and runs every test.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
JOBS ?= $(shell nproc)
# Extra CMake settings for the build folder, e.g. CMAKE_ARGS=-DKINETTA_WERROR=ON as CI gives.
CMAKE_ARGS ?=

.PHONY: all deps configure build test deb asan-test fuzz weekly run bench format format-check clean

all: build

deps:
	@bash scripts/setup-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS); \
	elif [ -n "$(CMAKE_ARGS)" ]; then \
	  cmake -B $(BUILD_DIR) $(CMAKE_ARGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The Debian package from the install: $(BUILD_DIR)/kinetta_<version>_amd64.deb, installing
# under /usr; its library dependencies found by dpkg-shlibdeps.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/kinetta_*_amd64.deb

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer in $(ASAN_DIR);
# leaks are reported too, except fontconfig's caches (tests/lsan.supp). The sanitizer's dlopen
# looks in its own run path, not the test's, so the video module's folder is given here.
asan-test: deps
	@if [ ! -f $(ASAN_DIR)/build.ninja ]; then \
	  cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINETTA_SANITIZE=ON; \
	fi
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && \
	  LD_LIBRARY_PATH=$(abspath $(ASAN_DIR))/app \
	  ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The picture loader's fuzz target (clang, libFuzzer, ASan and UBSan) in $(FUZZ_DIR), run for
# $(FUZZ_SECONDS) seconds from the pictures in tests/data; new inputs go to $(FUZZ_DIR)/corpus,
# a finding to $(FUZZ_DIR)/crash-* (and the command fails).
fuzz: deps
	@if [ ! -f $(FUZZ_DIR)/build.ninja ]; then \
	  cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -Wno-sign-conversion" \
	    -DKINETTA_SANITIZE=ON -DKINETTA_FUZZ=ON -DKINETTA_GUI=OFF -DBUILD_TESTING=OFF \
	    -DKINETTA_VIEWER_APPLET=OFF; \
	fi
	cmake --build $(FUZZ_DIR) --target picture_fuzz -j $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/tests/fuzz/picture_fuzz $(FUZZ_DIR)/corpus tests/data \
	  -dict=tests/fuzz/picture.dict -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=1024 \
	  -timeout=5 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/

# The long checks that CI leaves out for time, for once a week and before a release: every test
# under the sanitizers, and ten minutes of fuzzing.
weekly:
	$(MAKE) asan-test
	$(MAKE) fuzz FUZZ_SECONDS=600

run: build
	@bash scripts/run.sh $(BUILD_DIR)/app

bench: build
	$(BUILD_DIR)/bench/kinetta_bench

# The C++ files as .clang-format says, by the pinned clang-format (scripts/check-format.sh);
# format-check only lists those that differ, and fails if any does.
format: deps
	@bash scripts/check-format.sh --fix

format-check: deps
	@bash scripts/check-format.sh

clean:
	rm -rf $(BUILD_DIR)
