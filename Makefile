# The two commands of the README: `make demo` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= /usr/local

.PHONY: all setup configure build demo test install package format clean

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

# The command, the library, its header, vobreports.pc and the CMake package under PREFIX (DESTDIR is honoured).
install: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target vobreports_cli VOBADOReports2
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package vobreports_VERSION_ARCH.deb in BUILD_DIR.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

format:
	@git ls-files '*.h' '*.cc' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) out
