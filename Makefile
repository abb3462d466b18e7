# Front door for newcomers and CI: `make run` and `make test` install what is missing, configure,
# build and then run the program or the test suite under Wine.
BUILD_DIR := build
JOBS      := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup configure build run test bench bench-linkcheck clean

all: build

setup:
	@scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	       -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: build
	@scripts/bench.sh

bench-linkcheck: build
	@scripts/linkcheck-bench.sh

clean:
	rm -rf $(BUILD_DIR)
