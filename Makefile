# Two commands do all set-up on a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench assets install package clean sanitize fuzz fuzz-run soak

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what it runs: the station, the desktop program and the Hamlib module; the tests and benchmarks wait
# for `make test` and `make bench`.
PROGRAM_TARGETS = skyrel skyrel-desktop skyrel-hamlib

run: configure
	@[ -x $(BUILD_DIR)/skyrel ] || echo "Building Skyrel: the first build takes several minutes (about 5 on two cores)."
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(PROGRAM_TARGETS)
	@scripts/run-skyrel.sh $(BUILD_DIR)/skyrel

# The suite runs twice: as the machine is set, and under a German locale, where a numeric formatting
# that followed LC_NUMERIC would write "AZ123,5". The package test (label package) has no numbers to
# format and runs once.
test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@if locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$$'; then \
		echo "Again under LC_ALL=de_DE.UTF-8:"; \
		cd $(BUILD_DIR) && LC_ALL=de_DE.UTF-8 ctest --output-on-failure -j $(JOBS) -LE package; \
	fi

bench: build
	@$(BUILD_DIR)/bench/skyrel_bench

assets: build
	@scripts/make-assets.sh $(BUILD_DIR)

# The programs, manual pages, desktop entry, icons and user unit, below PREFIX (DESTDIR is honoured).
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

# The Debian package of the same files: $(BUILD_DIR)/skyrel_<version>_<arch>.deb
package: build
	@cmake --build $(BUILD_DIR) --target package

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer (scripts/lsan.supp
# lists the system libraries whose leaks are not reported), and the Hamlib rotator's tests under
# ThreadSanitizer in a build of their own, $(SANITIZE_DIR)-thread.
SANITIZE_DIR ?= build-sanitize
sanitize: deps
	@JOBS=$(JOBS) scripts/sanitize.sh $(SANITIZE_DIR)

# The fuzz targets (fuzz/), in a clang build of their own instrumented for libFuzzer and both sanitizers;
# `make fuzz-run` runs each for FUZZ_SECONDS from its seed corpus.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_FLAGS = -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
		-DSKYREL_BUILD_FUZZ=ON -DSKYREL_BUILD_TESTS=OFF -DSKYREL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_all

fuzz-run: fuzz
	@scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The real program for SOAK_MINUTES, tracking Park onto a pseudo-terminal with an advised client.
SOAK_MINUTES ?= 60
soak: build
	@scripts/soak.sh $(BUILD_DIR) $(SOAK_MINUTES)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(SANITIZE_DIR)-thread $(FUZZ_DIR)
