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

# ---- Benchmarks --------------------------------------------------------------
# `make bench` configures its own Release build in $(BENCH_DIR), builds the
# benchmark program, runs it and writes the figures as JSON to
# bench/results/latest.json. BENCH_ARGS passes options to Google Benchmark,
# e.g. BENCH_ARGS='--benchmark_filter=daMinMax'.
BENCH_DIR ?= build-bench
BENCH_ARGS ?= --benchmark_min_time=0.2

.PHONY: bench

bench: setup
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSEXTANT_BUILD_QT=ON \
	  -DSEXTANT_BUILD_TESTS=OFF -DSEXTANT_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target sextant_bench
	mkdir -p bench/results
	QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bin/sextant_bench \
	  --benchmark_out=bench/results/latest.json --benchmark_out_format=json $(BENCH_ARGS)
