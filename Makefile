# Entry points: `make run` builds and starts the demo, `make test` builds
# everything and runs the whole test suite. Both install the Debian packages
# they need first (scripts/setup-debian.sh).

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
CMAKE_FLAGS ?=
# Seconds each fuzz target runs in `make fuzz-run SECONDS=N`.
SECONDS ?= 60
FUZZ_TARGETS = fuzz_fast_line_lod fuzz_value_format fuzz_value_list fuzz_settings_store fuzz_form_reader fuzz_axis fuzz_input_events
FUZZ_MAX_LEN ?= 4096

.PHONY: all setup configure build run test test-fast test-asan fuzz fuzz-run clean

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

# The whole suite, then the engine suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (stopping at the first report).
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan

# The whole suite without the sanitizer build, for local work.
test-fast: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Engine tests only (no Qt), in their own build directory.
test-asan: setup
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSEXTANT_SANITIZE=ON -DSEXTANT_BUILD_QT=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer).
fuzz: setup
	CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# Runs every target for SECONDS seconds on a working corpus in
# $(FUZZ_DIR)/corpus/<target>, seeded from fuzz/corpus and fuzz/regressions.
# A finding stops the run; its input is in $(FUZZ_DIR)/artifacts/<target>/
# (keep it in fuzz/regressions/<target>/ once fixed).
fuzz-run: fuzz
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/artifacts/$$t; \
	  seeds="fuzz/corpus/$$t"; \
	  if [ -d fuzz/regressions/$$t ]; then seeds="$$seeds fuzz/regressions/$$t"; fi; \
	  echo "== $$t: $(SECONDS) s"; \
	  if ! $(FUZZ_DIR)/$$t -max_total_time=$(SECONDS) -max_len=$(FUZZ_MAX_LEN) -timeout=10 \
	      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/artifacts/$$t/ \
	      $(FUZZ_DIR)/corpus/$$t $$seeds > $(FUZZ_DIR)/$$t.log 2>&1; then \
	    tail -n 60 $(FUZZ_DIR)/$$t.log; echo "== $$t: FINDING (log: $(FUZZ_DIR)/$$t.log)"; exit 1; \
	  fi; \
	  grep -E '^stat::number_of_executed_units|^Done ' $(FUZZ_DIR)/$$t.log; \
	  echo "$$t corpus: $$(ls $(FUZZ_DIR)/corpus/$$t | wc -l) inputs"; \
	done

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)

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

# ---- Against the Qt peers -----------------------------------------------------
# `make bench-peers` installs the peers (Qt Charts, QCustomPlot, Qwt: Debian's
# packages, scripts/setup-bench-peers.sh), builds the Qt 6 peer program in
# $(BENCH_DIR) and the Qt 5 one in $(PEERS5_DIR), runs both and prints one
# table (also written to bench/results/peers.md). PEERS_ARGS passes options
# to scripts/bench-peers.py, e.g. PEERS_ARGS='--repetitions 3'.
PEERS5_DIR ?= build-bench-peers5
PEERS_ARGS ?=

.PHONY: bench-peers

bench-peers: setup
	bash scripts/setup-bench-peers.sh
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSEXTANT_BUILD_QT=ON \
	  -DSEXTANT_BUILD_TESTS=OFF -DSEXTANT_BUILD_BENCH=ON -DSEXTANT_BENCH_PEERS=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target sextant_peers_bench
	cmake -S bench/peers/qt5 -B $(PEERS5_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(PEERS5_DIR) -j $(JOBS)
	python3 scripts/bench-peers.py --qt6 $(BENCH_DIR)/bin/sextant_peers_bench \
	  --qt5 $(PEERS5_DIR)/bin/sextant_peers_qt5_bench $(PEERS_ARGS)
