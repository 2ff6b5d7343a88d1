# Two commands do everything: `make run` starts TaZEN, `make test` builds and runs every test.
# Both install what is missing first (scripts/install-deps).

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_ARGS   ?=
PREFIX       ?= $(HOME)/.local

.PHONY: all deps build run test test-sanitize bench screenshots install uninstall format clean

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake -S . -B $(BUILD_DIR) -G Ninja -DTAZEN_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/bin/tazen

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j 2

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@test -f $(SANITIZE_DIR)/build.ninja || cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DTAZEN_WERROR=ON -DTAZEN_SANITIZE=ON -DTAZEN_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(SANITIZE_DIR)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j 2

# Also installs the tools the end-to-end comparisons measure against.
bench: build
	@scripts/install-deps --bench
	$(BUILD_DIR)/bin/tazen_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
		--benchmark_enable_random_interleaving=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_dialog_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
		--benchmark_enable_random_interleaving=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_window_bench $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_startup_bench $(BUILD_DIR)/bin
	bench/compare-tools $(BUILD_DIR)/bin
	bench/compare-cli $(BUILD_DIR)/bin

# The windows, the dialogs and the gauge as PNG files in $(BUILD_DIR)/screenshots, drawn without a display.
screenshots: build
	$(BUILD_DIR)/bin/tazen_screenshots $(BUILD_DIR)/screenshots

# TaZEN in the applications menu, and .TaZEN files opening in it: the programs go to $(PREFIX)/lib/tazen,
# launchers to $(PREFIX)/bin, the desktop entry, the icon and the MIME type to $(PREFIX)/share.
install: build
	scripts/install-desktop $(BUILD_DIR) "$(PREFIX)"

# Removes what install put into the same PREFIX, but not the settings file TaZEN.ini.
uninstall:
	scripts/install-desktop --uninstall "$(PREFIX)"

format:
	git ls-files '*.cpp' '*.h' | grep -v -e blowfish_tables.cpp -e unicode_tables.cpp | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
