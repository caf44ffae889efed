# make run   builds the editor and starts it on the sample map (see README.md)
# make test  builds everything and runs every test
# make dist  builds the release zip dist/MapEditor-<version>-win64.zip
# make mapcheck  builds the optimised map checker, build/release/mapcheck
# All three install what is missing first (scripts/bootstrap.sh).

BUILD  ?= build
WIN    := $(BUILD)/win
NATIVE := $(BUILD)/native
JOBS   ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: all bootstrap configure-win build build-win build-native run dist test fuzz bench mapcheck clean

all: build

bootstrap:
	@scripts/bootstrap.sh

configure-win: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release >/dev/null

build-win: configure-win
	@cmake --build $(WIN) -j $(JOBS)

build-native: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

build: build-win build-native

# Only the editor and its program directory, not the test programs.
run: configure-win
	@cmake --build $(WIN) -j $(JOBS) --target MapEditor dist
	@scripts/run-editor.sh $(WIN)

dist: configure-win
	@cmake --build $(WIN) -j $(JOBS) --target release

test: build
	@scripts/run-tests.sh $(BUILD)

# A longer fuzz run of every fuzz target: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
fuzz: build-native
	@scripts/fuzz.sh $(NATIVE) $(FUZZ_SECONDS)

bench: build-win mapcheck
	@scripts/run-benchmarks.sh $(WIN)
	@python3 bench/mapcheck_pipeline_bench.py $(BUILD)/release/mapcheck

# The map checker for build pipelines on Linux: optimised, no sanitizers,
# linked statically (it starts in half the time), written to
# build/release/mapcheck (its CMake tree is build/release-tree).
mapcheck: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)/release-tree -DCMAKE_BUILD_TYPE=Release \
	    -DEDITOR_SANITIZERS=OFF -DCMAKE_EXE_LINKER_FLAGS=-static >/dev/null
	@cmake --build $(BUILD)/release-tree -j $(JOBS) --target mapcheck_tool
	@mkdir -p $(BUILD)/release
	@cp $(BUILD)/release-tree/mapcheck/mapcheck $(BUILD)/release/mapcheck

clean:
	rm -rf $(BUILD) dist
