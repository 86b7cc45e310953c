# Two entry points on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and starts Zelkova on the bundled demo run file
#   make test   installs what is missing, builds, and runs the whole test suite
# and one for the Windows port:
#   make test-windows   installs mingw-w64 and Wine when missing, cross-builds the toolkit-free core,
#                       the Windows process launcher and their tests into build-windows/, and runs
#                       the tests under Wine
BUILD_DIR ?= build
JOBS ?= 2
DEMO ?= examples/demo/DEMO.FRT
PACKAGE_DIR ?= build-package
WINDOWS_BUILD_DIR ?= build-windows

.PHONY: all setup configure build run test setup-windows test-windows package bench format clean

all: build

setup:
	@sh scripts/setup-debian.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: setup $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/zelkova $(DEMO)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

setup-windows:
	@sh scripts/setup-debian.sh windows

$(WINDOWS_BUILD_DIR)/build.ninja:
	cmake -S . -B $(WINDOWS_BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=Release

test-windows: setup-windows $(WINDOWS_BUILD_DIR)/build.ninja
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	sh scripts/wine-run.sh $(WINDOWS_BUILD_DIR)/wine --prepare
	cd $(WINDOWS_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

package: setup
	JOBS=$(JOBS) sh packaging/build-package.sh $(PACKAGE_DIR)

bench: build
	cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) $(WINDOWS_BUILD_DIR)
