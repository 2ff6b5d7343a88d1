# Two commands do everything: `make run` starts TaZEN, `make test` builds and runs every test.
# Both install what is missing first (scripts/install-deps).

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR     ?= build-tsan
CMAKE_ARGS   ?=
PREFIX       ?= $(HOME)/.local
FUZZ_DIR     ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= inifile handover decrypt extractor_payload cli_args
FUZZ_RSS_MB  ?= 2048
# The targets write and delete small files all the time; a memory file system keeps the disk out of it.
FUZZ_TMPDIR  ?= $(if $(wildcard /dev/shm),/dev/shm,/tmp)
# The generated tables keep their own layout.
FORMATTED_SOURCES = git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
	'tools/*.cpp' 'tools/*.h' | grep -v -e blowfish_tables.cpp -e unicode_tables.cpp

.PHONY: all deps build run test test-sanitize test-tsan lint check-layers format-check fuzz fuzz-merge bench screenshots \
	install uninstall package format clean

all: build

# Configures build folder $(1) with the CMake arguments $(2), and configures it afresh whenever they differ
# from the ones it was configured with, so a changed CMAKE_ARGS is never silently ignored.
define configure
	@if [ ! -f $(1)/build.ninja ] || [ "$$(cat $(1)/configured-with 2>/dev/null)" != '$(strip $(2))' ]; then \
		cmake --fresh -S . -B $(1) -G Ninja $(2) && printf '%s' '$(strip $(2))' >$(1)/configured-with; \
	fi
endef

deps:
	@scripts/install-deps

build: deps
	$(call configure,$(BUILD_DIR),-DTAZEN_WERROR=ON $(CMAKE_ARGS))
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/bin/tazen

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j 2

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	$(call configure,$(SANITIZE_DIR),-DCMAKE_BUILD_TYPE=Debug -DTAZEN_WERROR=ON -DTAZEN_SANITIZE=ON \
		-DTAZEN_BUILD_BENCH=OFF $(CMAKE_ARGS))
	cmake --build $(SANITIZE_DIR)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j 2

# ThreadSanitizer over the layers that use threads (large writes are flushed behind on a thread of their own,
# and decryption shares its pieces out).
# The kill -9 test and the fault campaign repeat whole runs hundreds of times, which takes ThreadSanitizer
# many minutes; the flushing thread is exercised by the others.
test-tsan: deps
	$(call configure,$(TSAN_DIR),-DCMAKE_BUILD_TYPE=Debug -DTAZEN_WERROR=ON -DTAZEN_TSAN=ON \
		-DTAZEN_BUILD_BENCH=OFF $(CMAKE_ARGS))
	cmake --build $(TSAN_DIR) --target platform_tests format_tests engine_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
		ctest --test-dir $(TSAN_DIR) --output-on-failure -j 2 -L '^(platform|format|engine)$$' \
		-E '^(Crash|FaultCampaign)\.'

# The layer rules first (scripts/check-layers reads the includes alone: cheap, and it needs no build), then
# clang-tidy's chosen checks (.clang-tidy) over every source of the build; any finding fails.
lint: check-layers build
	scripts/lint $(BUILD_DIR)

check-layers:
	scripts/check-layers

# Fails when a source differs from what clang-format would make of it; make format rewrites them.
format-check:
	@scripts/install-deps --lint
	$(FORMATTED_SOURCES) | xargs clang-format --dry-run --Werror

# libFuzzer with AddressSanitizer, UndefinedBehaviorSanitizer and leak detection, built with clang in
# $(FUZZ_DIR). Each of FUZZ_TARGETS runs FUZZ_SECONDS on a copy of its corpus from tests/fuzz/corpus, so the
# work tree stays clean; a crash, a leak or undefined behaviour fails, and the input that caused it is left in
# $(FUZZ_DIR)/artifacts/<target>/.
fuzz:
	@scripts/install-deps --fuzz
	$(call configure,$(FUZZ_DIR),-DCMAKE_CXX_COMPILER=clang++ -DTAZEN_FUZZ=ON -DTAZEN_WERROR=ON $(CMAKE_ARGS))
	cmake --build $(FUZZ_DIR) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for target in $(FUZZ_TARGETS); do \
		corpus=$(FUZZ_DIR)/corpus/$$target; artifacts=$(FUZZ_DIR)/artifacts/$$target; log=$(FUZZ_DIR)/fuzz-$$target.log; \
		rm -rf $$corpus $$artifacts; mkdir -p $$corpus $$artifacts; cp tests/fuzz/corpus/$$target/* $$corpus/; \
		echo "fuzz: $$target for $(FUZZ_SECONDS) s (log: $$log)"; \
		if TMPDIR=$(FUZZ_TMPDIR) UBSAN_OPTIONS=print_stacktrace=1 $(FUZZ_DIR)/bin/fuzz_$$target $$corpus \
			-max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=$(FUZZ_RSS_MB) -detect_leaks=1 \
			-artifact_prefix=$$artifacts/ -print_final_stats=1 >$$log 2>&1; then \
			grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' $$log; \
			echo "fuzz: $$target: corpus of $$(ls $$corpus | wc -l) inputs, $$(cat $$corpus/* | wc -c) bytes"; \
		else \
			tail -n 60 $$log; echo "fuzz: $$target found a fault; the input is in $$artifacts/" >&2; exit 1; \
		fi; \
	done

# After make fuzz: the committed corpora replaced by the smallest set of their inputs and the grown ones
# that reaches the same coverage.
fuzz-merge:
	@for target in $(FUZZ_TARGETS); do \
		merged=$(FUZZ_DIR)/merged/$$target; rm -rf $$merged; mkdir -p $$merged; \
		TMPDIR=$(FUZZ_TMPDIR) $(FUZZ_DIR)/bin/fuzz_$$target -merge=1 -rss_limit_mb=$(FUZZ_RSS_MB) $$merged \
			tests/fuzz/corpus/$$target $(FUZZ_DIR)/corpus/$$target >$(FUZZ_DIR)/merge-$$target.log 2>&1 \
			|| { tail -n 20 $(FUZZ_DIR)/merge-$$target.log; exit 1; }; \
		rm -rf tests/fuzz/corpus/$$target; cp -r $$merged tests/fuzz/corpus/$$target; \
		echo "fuzz-merge: $$target: $$(ls $$merged | wc -l) inputs, $$(cat $$merged/* | wc -c) bytes"; \
	done

# Also installs the tools the end-to-end comparisons measure against.
bench: build
	@scripts/install-deps --bench
	$(BUILD_DIR)/bin/tazen_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
		--benchmark_enable_random_interleaving=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_dialog_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
		--benchmark_enable_random_interleaving=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_window_bench $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_search_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
		--benchmark_enable_random_interleaving=true $(BENCH_ARGS)
	$(BUILD_DIR)/bin/tazen_open_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true $(BENCH_ARGS)
	bench/open-start $(BUILD_DIR)/bin
	$(BUILD_DIR)/bin/tazen_startup_bench $(BUILD_DIR)/bin
	bench/compare-tools $(BUILD_DIR)/bin
	bench/compare-cli $(BUILD_DIR)/bin
	bench/compare-cores $(BUILD_DIR)/bin

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

# The Debian package $(BUILD_DIR)/package/tazen_VERSION_ARCH.deb, of what make install puts below /usr, its
# dependencies found by dpkg-shlibdeps; then lintian's verdict on it, where any error fails.
package: build
	@scripts/install-deps --package
	cpack --config $(BUILD_DIR)/CPackConfig.cmake -B $(BUILD_DIR)/package
	lintian --fail-on error --info $(BUILD_DIR)/package/tazen_*.deb

format:
	@scripts/install-deps --lint
	$(FORMATTED_SOURCES) | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR)
