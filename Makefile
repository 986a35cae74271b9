# The two commands of the README: `make demo` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build demo test format clean

all: build

setup:
	@scripts/setup

build: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@scripts/demo $(BUILD_DIR)

test: build
	@scripts/with-postgres ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

format:
	@git ls-files '*.h' '*.cc' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) out
