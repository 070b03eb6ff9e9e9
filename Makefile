# Two commands for a newcomer: `make run` and `make test`.
# Each installs the missing Debian packages, configures, builds and generates
# the sample reference database before doing its job.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS  ?= 1000000
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# ccache, where a developer's machine has it, makes rebuilds in several work trees cheap;
# without it (CI, a newcomer's machine) nothing changes.
LAUNCHER   := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build run test package test-sanitize test-valgrind bench fuzz stress format format-check clean

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS) $(LAUNCHER)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display available: start Ventrolux from a desktop session (or under xvfb-run)."; \
	else \
	  $(BUILD)/bin/ventrolux; \
	fi

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Debian packages of the build: $(BUILD)/ventrolux_VERSION_ARCH.deb (the programs) and
# $(BUILD)/ventrolux-data_VERSION_all.deb (the reference data, help and layouts), for
# `sudo apt install ./$(BUILD)/ventrolux_*.deb ./$(BUILD)/ventrolux-data_*.deb`.
package: build
	cmake --build $(BUILD) --target package

# The medians of the operations users wait for, on the sample data and on a generated
# reference database of 5,000 industries. A measurement to read, not a test.
bench: build
	$(BUILD)/bench/ventrolux-bench
	$(BUILD)/bench/ventrolux-bench-batch
	$(BUILD)/bench/ventrolux-bench-lists

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENTROLUX_SANITIZE=ON $(LAUNCHER)

test-sanitize: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The crash test with a thousand kills, two copies at work for 30 seconds and two
# advisers on one records server for 20 (the test suite runs a few dozen kills and a
# few seconds).
stress: build
	VENTROLUX_KILLS=1000 QT_QPA_PLATFORM=offscreen $(BUILD)/tests/test_crash_kills
	VENTROLUX_TWO_COPIES_SECONDS=30 QT_QPA_PLATFORM=offscreen $(BUILD)/tests/test_two_copies
	VENTROLUX_OFFICE_SECONDS=20 QT_QPA_PLATFORM=offscreen $(BUILD)/tests/test_office_two_copies

# The reliability tests and the command-line processes they start, under Valgrind's
# memcheck (slow: not part of CI). Qt's own one-time allocations are not reported as leaks.
VALGRIND = valgrind --quiet --error-exitcode=1 --trace-children=yes --leak-check=no --track-origins=no \
           --suppressions=tests/support/valgrind.supp
test-valgrind: build
	VENTROLUX_KILLS=8 QT_QPA_PLATFORM=offscreen $(VALGRIND) $(BUILD)/tests/test_crash_kills
	VENTROLUX_TWO_COPIES_SECONDS=10 QT_QPA_PLATFORM=offscreen $(VALGRIND) $(BUILD)/tests/test_two_copies
	QT_QPA_PLATFORM=offscreen $(VALGRIND) $(BUILD)/tests/test_hostile_input

# libFuzzer targets, built with clang in their own tree; FUZZ_RUNS inputs each (CI runs fewer).
$(FUZZ_BUILD)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENTROLUX_FUZZ=ON $(LAUNCHER)

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_RUNS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# CI refuses code that `make format` would change (clang-format of the install list).
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
