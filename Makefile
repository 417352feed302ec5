# A thin wrapper over the CMake presets. Every target installs what it needs first.

PRESET ?= default
BUILD_DIR := build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all build run test test-asan fuzz tidy deps clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake --preset $(PRESET)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
		echo "quorvale needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set); without one, try: xvfb-run make run" >&2; \
		exit 1; \
	fi
	./$(BUILD_DIR)/quorvale

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The whole suite built with the address and undefined-behaviour sanitizers, in build-asan/,
# the real program on an X server included.
test-asan: deps
	@scripts/install-deps.sh x11
	@[ -f build-asan/CMakeCache.txt ] || cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, built by clang in build-fuzz/.
fuzz:
	@scripts/install-deps.sh fuzz
	@[ -f build-fuzz/CMakeCache.txt ] || cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers.sh

# clang-tidy with the repository's .clang-tidy over the program's and the tests' sources.
tidy: build
	@scripts/install-deps.sh tidy
	scripts/run-tidy.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
