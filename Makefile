# The two commands of the README: `make demo` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup configure build demo test format clean

all: build

setup:
	@scripts/setup

# Warnings are errors here and in CI, never in a user's own cmake build.
configure: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DVOB_WERROR=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the command the demo runs; tests and benchmarks are left to `make test`.
demo: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target vobreports_cli
	@scripts/demo $(BUILD_DIR)

test: build
	@scripts/with-postgres scripts/with-cups ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

format:
	@git ls-files '*.h' '*.cc' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) out
