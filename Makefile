# Two entry points on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and starts Zelkova on the bundled demo run file
#   make test   installs what is missing, builds, and runs the whole test suite
BUILD_DIR ?= build
JOBS ?= 2
DEMO ?= examples/demo/DEMO.FRT
PACKAGE_DIR ?= build-package

.PHONY: all setup configure build run test package bench format clean

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

package: setup
	JOBS=$(JOBS) sh packaging/build-package.sh $(PACKAGE_DIR)

bench: build
	cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
