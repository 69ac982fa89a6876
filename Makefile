# Two commands do all set-up on a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench assets install package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
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

clean:
	rm -rf $(BUILD_DIR)
