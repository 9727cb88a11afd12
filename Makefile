# Barovista: the two set-up commands.
#   make run   install what is missing, build, open the window
#   make test  install what is missing, build, run every test headless

BUILD_DIR ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test build deps clean screenshot

deps:
	@./scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset); start it under a virtual X server with: xvfb-run make run"; \
		exit 1; \
	fi
	@./$(BUILD_DIR)/src/barovista

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

screenshot: build
	@./scripts/take-screenshot $(BUILD_DIR)/src/barovista docs/screenshot.png

clean:
	@rm -rf $(BUILD_DIR)
