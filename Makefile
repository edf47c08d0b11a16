# Mervik: `make run` opens the calculator; `make check` is the quick loop
# (the plain build and its suites), `make test` the full gate (the same, then
# the sanitizer build's suites, `make test-asan`, and the fuzz replay).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all deps build build-asan check test test-asan run bench screenshots install package clean deps-arm64 build-arm64 test-arm64 package-arm64

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN_BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMERVIK_SANITIZE=ON -DMERVIK_BENCH=OFF

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The plain build and every ctest suite of it, nothing else.
check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The sanitizer build (ASan + UBSan, leaks checked at exit) and every ctest suite of it.
test-asan: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/render/lsan.supp:print_suppressions=0 ctest --output-on-failure

test: check test-asan fuzz-smoke

run: build
	@scripts/run.sh $(BUILD)

# The README's pictures (docs/screenshots/*.png), drawn by the headless
# calculator at scale 2 with settings of its own; then one per look.
screenshots: build
	@config=$$(mktemp -d) && status=0 && \
	  $(BUILD)/mervik --scale 2 --config "$$config" --script docs/screenshots/screenshots.script || status=1; \
	  for look in dark light contrast; do \
	    [ $$status = 0 ] || break; \
	    $(BUILD)/mervik --scale 2 --config "$$config" --theme $$look --base 2 --script docs/screenshots/look.script && \
	    mv docs/screenshots/look.png docs/screenshots/look-$$look.png || status=1; \
	  done; \
	  rm -rf "$$config"; exit $$status

# Installs under PREFIX (DESTDIR, when set, is put in front of every path).
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX) --strip

# A Debian package of the same files under /usr, in $(BUILD)/package.
package: build
	cd $(BUILD) && cpack -G DEB -B $(CURDIR)/$(BUILD)/package

# arm64 (Raspberry Pi, ARM laptops, Linux phones), cross-built with Debian's
# cross compiler and arm64 libraries; the build's own picture tool and the
# tests run here through qemu-user. `make test-arm64` runs every suite that
# needs no display: the toolkit, calculator, renderer and shell suites.
# `make package-arm64` writes the arm64 Debian package in $(ARM64_BUILD)/package.
ARM64_SUITES ?= ui_tests|calc_tests|render_tests|shell_tests
ARM64_BUILD ?= build-arm64

deps-arm64:
	@scripts/install-deps.sh --arm64

$(ARM64_BUILD)/build.ninja: CMakeLists.txt cmake/aarch64-linux-gnu.cmake
	cmake -S . -B $(ARM64_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/aarch64-linux-gnu.cmake -DMERVIK_BENCH=OFF

build-arm64: deps-arm64 $(ARM64_BUILD)/build.ninja
	cmake --build $(ARM64_BUILD) -j $(JOBS)

test-arm64: build-arm64
	cd $(ARM64_BUILD) && ctest --output-on-failure -R '^($(ARM64_SUITES))$$'

package-arm64: build-arm64
	cd $(ARM64_BUILD) && cpack -G DEB -B $(CURDIR)/$(ARM64_BUILD)/package

# The micro-benchmarks, then the window's start-up, idle CPU and memory
# beside galculator, SpeedCrunch and gnome-calculator on a display of its own
# (and on a nested Wayland desktop beside a bare SDL window), the headless
# answer beside qalc, then key press to pixels beside galculator and
# SpeedCrunch; at the end, one table of every figure beside its peer.
bench: build
	@scripts/install-deps.sh --peers
	@for b in $(BUILD)/bench/*_bench; do \
	  case $$b in */startup_bench|*/keypress_bench) continue ;; esac; \
	  echo "== $$b"; $$b --benchmark_counters_tabular=true; done
	@rm -f $(BUILD)/bench/figures.jsonl
	@echo "== $(BUILD)/bench/startup_bench"; MERVIK_BENCH_FIGURES=$(BUILD)/bench/figures.jsonl $(BUILD)/bench/startup_bench
	@echo "== $(BUILD)/bench/keypress_bench"; MERVIK_BENCH_FIGURES=$(BUILD)/bench/figures.jsonl $(BUILD)/bench/keypress_bench
	@scripts/bench-table.py $(BUILD)/bench/figures.jsonl

# Fuzzing (clang, libFuzzer): `make fuzz` searches for FUZZ_SECONDS per target,
# keeping what it learns in $(FUZZ_BUILD)/corpus and any crashing input in
# $(FUZZ_BUILD)/artifacts; `make fuzz-smoke` replays the committed corpus in
# tests/fuzz-corpus and a short fixed number of new inputs per target.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
# New inputs per target in fuzz-smoke: starting the whole calculator per
# input makes the script and settings targets slower than the decimal one.
FUZZ_SMOKE   ?= fuzz_decimal:2000 fuzz_script:500 fuzz_settings:500
FUZZ_TARGETS  = fuzz_decimal fuzz_script fuzz_settings
FUZZ_CORPUS   = tests/fuzz-corpus
# fontconfig keeps its caches until exit by design (an alert or the settings
# bar measures text with pango): the same leak reports as the test suites leave out.
FUZZ_ENV      = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/tests/render/lsan.supp:print_suppressions=0

.PHONY: build-fuzz fuzz fuzz-smoke

$(FUZZ_BUILD)/build.ninja: CMakeLists.txt fuzz/CMakeLists.txt
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMERVIK_FUZZ=ON -DMERVIK_BENCH=OFF

build-fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz: build-fuzz
	@for t in $(FUZZ_TARGETS); do \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/artifacts; \
	  $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=20 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- $(FUZZ_BUILD)/corpus/$$t $(FUZZ_CORPUS)/$$t || exit 1; \
	done

fuzz-smoke: build-fuzz
	@for tr in $(FUZZ_SMOKE); do \
	  t=$${tr%%:*}; runs=$${tr##*:}; \
	  echo "== $$t: corpus and $$runs runs"; \
	  rm -rf $(FUZZ_BUILD)/smoke/$$t && mkdir -p $(FUZZ_BUILD)/smoke/$$t $(FUZZ_BUILD)/artifacts; \
	  $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/$$t -runs=$$runs -seed=1 -timeout=20 \
	    -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- $(FUZZ_BUILD)/smoke/$$t $(FUZZ_CORPUS)/$$t 2>$(FUZZ_BUILD)/smoke/$$t.log \
	    || { tail -n 60 $(FUZZ_BUILD)/smoke/$$t.log; exit 1; }; \
	  grep -h "^Done" $(FUZZ_BUILD)/smoke/$$t.log; \
	done

# Every build folder: the plain, sanitizer, arm64 and fuzzing builds.
clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(ARM64_BUILD) $(FUZZ_BUILD)
