# A thin wrapper over the CMake presets. Every target installs what it needs first.

PRESET ?= default
BUILD_DIR := build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all build run test test-asan fuzz tidy bench deps package autopkgtest check-reproducible \
	screenshots clean package-arm64 test-arm64

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake --preset $(PRESET)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build --preset $(PRESET) -j $(JOBS)

# Without a display the program says so in one line and ends with status 1.
run: build
	./$(BUILD_DIR)/quorvale

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The Debian package from debian/, built with its tests and checked by lintian. dpkg-buildpackage
# writes beside the tree it builds, so it builds an export of the working tree (committed and
# uncommitted changes to tracked files) in build/package/, and everything lands there.
PACKAGE_DIR := $(BUILD_DIR)/package

package:
	@scripts/install-deps.sh package
	rm -rf $(PACKAGE_DIR)
	mkdir -p $(PACKAGE_DIR)/quorvale
	tree=$$(git stash create) && git archive "$${tree:-HEAD}" | tar -x -C $(PACKAGE_DIR)/quorvale
	cd $(PACKAGE_DIR)/quorvale && dpkg-buildpackage -us -uc -j$(JOBS) \
		--check-command=lintian --check-option=--fail-on=error,warning
	@echo "Package: $$(ls $(PACKAGE_DIR)/quorvale_*.deb)"

# The same package for 64-bit ARM (Raspberry Pi OS, ARM laptops), cross-built by Debian's own
# means into build/package-arm64/: the tests are not run there (nocheck), `make test-arm64` runs
# them under emulation.
ARM64_PACKAGE_DIR := $(BUILD_DIR)/package-arm64

package-arm64:
	@scripts/install-deps.sh package arm64
	rm -rf $(ARM64_PACKAGE_DIR)
	mkdir -p $(ARM64_PACKAGE_DIR)/quorvale
	tree=$$(git stash create) && git archive "$${tree:-HEAD}" | tar -x -C $(ARM64_PACKAGE_DIR)/quorvale
	cd $(ARM64_PACKAGE_DIR)/quorvale && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc \
		-j$(JOBS) --host-arch arm64 --build-profiles=cross,nocheck \
		--check-command=lintian --check-option=--fail-on=error,warning
	@echo "Package: $$(ls $(ARM64_PACKAGE_DIR)/quorvale_*.deb)"

# The arm64 build (preset arm64, in build-arm64/) with its tests under user-mode qemu: CTest
# runs each test executable through it (those that would start a process skip that), then
# debian/tests/window starts the real arm64 program on a virtual X server, types, copies and
# starts a second copy.
QEMU_AARCH64 = $(shell command -v qemu-aarch64-static || command -v qemu-aarch64)

# What the arm64 tree needs first: its packages, and the icon converter that its build runs,
# from the build for this machine.
.PHONY: arm64-prerequisites
arm64-prerequisites: deps
	@scripts/install-deps.sh arm64
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake --preset default
	cmake --build --preset default -j $(JOBS) --target quorvale_xpm_to_png

test-arm64: arm64-prerequisites
	@[ -f build-arm64/CMakeCache.txt ] || cmake --preset arm64
	cmake --build --preset arm64 -j $(JOBS)
	ctest --preset arm64 -j $(JOBS)
	QUORVALE_COMMAND="$(QEMU_AARCH64) $(CURDIR)/build-arm64/quorvale" debian/tests/window

# debian/tests against the package that `make package` built, installed on this machine
# (autopkgtest's null back end: the package and the tests' dependencies stay installed).
AS_ROOT := $(if $(filter 0,$(shell id -u)),,sudo)

autopkgtest:
	@scripts/install-deps.sh autopkgtest
	@ls $(PACKAGE_DIR)/quorvale_*.changes >/dev/null 2>&1 || \
		{ echo "make autopkgtest: no package in $(PACKAGE_DIR); run make package first" >&2; exit 1; }
	rm -rf $(PACKAGE_DIR)/autopkgtest
	$(AS_ROOT) autopkgtest --output-dir=$(PACKAGE_DIR)/autopkgtest \
		$(PACKAGE_DIR)/quorvale_*.changes -- null

# Two builds of the package from an export of the working tree, the second with the variations
# of Debian's reproducible-builds testing, and their .deb files compared (see the script).
check-reproducible:
	@scripts/install-deps.sh package reprotest
	$(AS_ROOT) scripts/check-reproducible.sh $(BUILD_DIR)/reprotest

# Pictures of both modes for the README, into docs/ (under Xvfb when there is no display).
screenshots: build
	@scripts/install-deps.sh screenshots
	scripts/screenshots.sh docs $(BUILD_DIR)/quorvale

# Key releases and converters (Google Benchmark; BENCH_ARGS=--benchmark_format=json for JSON),
# then start-up against a bare window, on a virtual X server when there is no display.
BENCH_ARGS ?= --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
STARTUP_RUNS ?= 30

# PRESET=arm64 builds them for arm64 in build-arm64/bench/ and runs nothing: under emulation
# they would time qemu.
bench: $(if $(filter arm64,$(PRESET)),arm64-prerequisites)
	@scripts/install-deps.sh bench
	cmake --preset $(PRESET) -DQUORVALE_BUILD_BENCH=ON
	cmake --build --preset $(PRESET) -j $(JOBS) --target quorvale_bench_typing quorvale_bench_startup
ifeq ($(PRESET),arm64)
	@echo "bench: built for arm64 in build-arm64/bench/; time them on an arm64 machine"
else
	./$(BUILD_DIR)/bench/quorvale_bench_typing $(BENCH_ARGS)
	@if [ -n "$${DISPLAY:-}" ]; then \
		./$(BUILD_DIR)/bench/quorvale_bench_startup $(STARTUP_RUNS); \
	else \
		xvfb-run -a -s "-screen 0 1280x1024x24" ./$(BUILD_DIR)/bench/quorvale_bench_startup $(STARTUP_RUNS); \
	fi
endif

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
	rm -rf $(BUILD_DIR) build-asan build-fuzz build-arm64

# A random session of the real program on a private X server for SOAK_MINUTES (about three
# actions a second), every Copy checked against a model of the panes, resident memory printed by
# minute; fails when memory grows after the warm-up (tests/soak/soak.py). SOAK_SEED repeats one.
SOAK_MINUTES ?= 20
SOAK_SEED ?=

.PHONY: soak
soak: build
	@scripts/install-deps.sh soak
	/usr/bin/python3 tests/soak/soak.py $(BUILD_DIR)/quorvale --minutes "$(SOAK_MINUTES)" \
		$(if $(SOAK_SEED),--seed "$(SOAK_SEED)")

# What a screen-reader user hears: the real program with Orca on a private headless desktop
# (Xvfb, session bus, AT-SPI bus, openbox), driven by xdotool; Orca's speech and the
# accessibility tree are checked. Needs no other Orca of this user running.
.PHONY: test-a11y
test-a11y: build
	@scripts/install-deps.sh a11y
	/usr/bin/python3 tests/a11y/orca_check.py $(BUILD_DIR)/quorvale

# The Windows program, cross-built with mingw-w64 in a Debian 13 build environment and tested
# under Wine (scripts/windows.sh): the test suite, then the installer in a fresh Wine prefix.
# `make windows` builds the installer, the portable zip, the MSI package and the winget manifests
# into build/windows/ (QUORVALE_DOWNLOAD_BASE=URL: the manifests' base address). Needs root for
# the environment's chroot. The first run builds Qt for Windows into ~/.cache/quorvale (about
# 40 minutes); later runs take minutes.
.PHONY: test-windows windows windows-run
test-windows:
	scripts/windows.sh test

windows:
	scripts/windows.sh package

windows-run:
	scripts/windows.sh run
