# SPDX-License-Identifier: GPL-3.0-or-later
# Barovista: the two set-up commands.
#   make run   install what is missing, build, open the window
#   make test  install what is missing, build, run every test headless

BUILD_DIR ?= build
JOBS ?= 2
# The configurations are the presets of CMakePresets.json (dev, asan,
# windows); CMAKE_FLAGS adds to them.
CMAKE_FLAGS ?=

.PHONY: run test build deps clean screenshot package check-package package-arm64 check-reproducible test-asan fuzz windows test-windows check-format format

deps:
	@./scripts/install-deps

build: deps
	@cmake --preset dev -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset); start it under a virtual X server with: xvfb-run make run"; \
		exit 1; \
	fi
	@./$(BUILD_DIR)/src/barovista

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS) -LE reproducible

# The package built twice from two copies of the sources, at two paths and
# times, compared byte for byte (the CTest test package_reproducible).
check-reproducible: deps
	@cmake --preset dev -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cd $(BUILD_DIR) && ctest --output-on-failure -L reproducible

# The same tests built with the address and undefined-behaviour sanitizers.
ASAN_BUILD_DIR ?= build-asan
test-asan: deps
	@cmake --preset asan -B $(ASAN_BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j$(JOBS)
	@cd $(ASAN_BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# The libFuzzer targets (clang), each run for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
fuzz:
	@./scripts/install-deps fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) ./scripts/fuzz

screenshot: build
	@./scripts/take-screenshot $(BUILD_DIR)/src/barovista docs/screenshot.png

# The Debian packages: the source package, and built from it the program's
# package and its -dbgsym package (dpkg-buildpackage with debian/rules,
# Debian's hardening flags), written to $(BUILD_DIR)/package; install the
# .deb with dpkg -i.
package: deps
	@JOBS=$(JOBS) ./scripts/build-package $(BUILD_DIR)/package

# The autopkgtests of debian/tests on the packages in $(BUILD_DIR)/package
# (built first where there are none), installed onto this machine by
# autopkgtest's null runner: as root, on a machine that may take them. Tried
# again when the testbed failed (16, 20: its apt-get update, say, met a
# mirror in the middle of its sync), not when a test failed.
check-package: deps
	@ls $(BUILD_DIR)/package/barovista_*.changes >/dev/null 2>&1 || \
		JOBS=$(JOBS) ./scripts/build-package $(BUILD_DIR)/package
	@./scripts/retry "16 20" autopkgtest $(BUILD_DIR)/package/barovista_*_$$(dpkg --print-architecture).changes -- null

# For a Raspberry Pi: the packages cross-built for arm64 in
# $(BUILD_DIR)/package-arm64 (Debian's arm64 architecture beside this one,
# multiarch), and the arm64 program's worked examples under qemu-aarch64
# compared with those of this machine's program (scripts/build-package-cross).
package-arm64: build
	@./scripts/install-deps cross arm64
	@JOBS=$(JOBS) ./scripts/build-package-cross arm64 $(BUILD_DIR)/package-arm64 $(BUILD_DIR)/src/barovista

# Windows: barovista.exe and its installer, cross-built with MinGW-w64 against
# a static Qt cached in ~/.cache/barovista (scripts/build-windows), in
# build-windows/. test-windows runs the same tests under Wine, and the
# end-to-end test against the Linux build.
windows:
	@JOBS=$(JOBS) LINUX_BUILD_DIR=$(BUILD_DIR) ./scripts/build-windows

test-windows: build windows
	@cd build-windows && ctest --output-on-failure -j$(JOBS)

clean:
	@rm -rf $(BUILD_DIR)

# The C++ layout of .clang-format: check-format fails on any file that
# differs from it, format rewrites them in place.
FORMAT_FILES = git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h'
check-format: deps
	@$(FORMAT_FILES) | xargs clang-format-14 --dry-run -Werror --style=file
	@echo "check-format: every C++ file is formatted"
format: deps
	@$(FORMAT_FILES) | xargs clang-format-14 -i --style=file
