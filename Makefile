# Thin front over CMake. Every target first makes sure the machine has what the build needs.
JOBS ?= $(shell nproc)

.PHONY: all bootstrap build test test-sanitize demo bench clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

test: build
	@ctest --preset default -j $(JOBS)

test-sanitize: bootstrap
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize -j $(JOBS)

demo: build
	@scripts/demo

# The voxel-loop benchmark in a Release build, beside the numpy peer of ../shared/bench.
bench: bootstrap
	@scripts/bootstrap-bench
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench --target tandrel_bench -j $(JOBS)
	@/usr/bin/python3 bench/run_bench.py --bench build-bench/bench/tandrel_bench \
		--peer ../shared/bench/peer_numpy.py

clean:
	rm -rf build build-sanitize

# The Windows package (Tandrel.dll, and Quorvis.exe to try it with), cross-built with MinGW-w64.
.PHONY: windows
windows: bootstrap
	@cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-windows -j $(JOBS)
	@echo "windows: build-windows/Tandrel.dll and build-windows/Quorvis.exe"

# Fuzzing: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Each target runs
# FUZZ_SECONDS (e.g. make fuzz FUZZ_SECONDS=10).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := sdm_reader run_reader parameters

.PHONY: fuzz valgrind

fuzz: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTANDREL_SANITIZE=ON -DTANDREL_FUZZ=ON \
		-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@tests/fuzz/run_fuzzers.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The comparison end to end on a small run under valgrind's memcheck: no leak, no invalid access.
valgrind: build
	@tests/hardening/valgrind_comparison.sh build
