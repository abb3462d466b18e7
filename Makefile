# Front door for newcomers and CI: `make run` and `make test` install what is missing, configure,
# build and then run the program or the test suite under Wine.
BUILD_DIR := build
BUILD32_DIR := build32
JOBS      := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build build32 dist run test bench bench-linkcheck clean

all: build

setup:
	@scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	       -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# 32-bit Windows: the deliverables only (compile and link; nothing 32-bit can run here).
build32: setup
	@cmake -S . -B $(BUILD32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
	       -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTOLVAK_PACKAGING=OFF >/dev/null
	@cmake --build $(BUILD32_DIR) -j $(JOBS)

# The installer and a zip of the shipped files in build/dist, with the 32-bit files inside.
dist: build build32
	@cmake --build $(BUILD_DIR) --target dist

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: build
	@scripts/bench.sh

bench-linkcheck: build
	@scripts/linkcheck-bench.sh

clean:
	rm -rf $(BUILD_DIR) $(BUILD32_DIR)
