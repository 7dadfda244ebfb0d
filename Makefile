# Thin front over CMake. Every target first makes sure the machine has what the build needs.
JOBS ?= $(shell nproc)

.PHONY: all bootstrap build test test-sanitize demo clean

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

clean:
	rm -rf build build-sanitize

# The Windows package (Tandrel.dll, and Quorvis.exe to try it with), cross-built with MinGW-w64.
.PHONY: windows
windows: bootstrap
	@cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-windows -j $(JOBS)
	@echo "windows: build-windows/Tandrel.dll and build-windows/Quorvis.exe"
