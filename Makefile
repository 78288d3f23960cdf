# Entry points: `make run` builds and starts the demo, `make test` builds
# everything and runs the whole test suite. Both install the Debian packages
# they need first (scripts/setup-debian.sh).

BUILD_DIR ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test test-fast clean

all: build

setup:
	bash scripts/setup-debian.sh

configure: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSEXTANT_BUILD_QT=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# With a display the window opens; without one (no DISPLAY, no
# WAYLAND_DISPLAY) the program renders offscreen and saves a screenshot.
run: build
	@if [ -n "$${DISPLAY:-}" ] || [ -n "$${WAYLAND_DISPLAY:-}" ]; then \
	  $(BUILD_DIR)/bin/chartdemo; \
	else \
	  echo "No display: rendering offscreen to chartdemo.png"; \
	  QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/chartdemo --screenshot chartdemo.png && \
	  echo "Screenshot: $$(realpath chartdemo.png)"; \
	fi

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Same as `test` for now; meant to skip the slower builds later.
test-fast: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
