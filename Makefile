# Two entry points on a fresh Debian 12 machine:
#   make run        installs what is missing, builds, and starts Zelkova on the bundled demo run file
#   make test       installs what is missing, builds, and runs the whole test suite
# two for hardening, both with clang:
#   make sanitize   builds everything under AddressSanitizer and UndefinedBehaviorSanitizer into
#                   build-sanitize/ and runs the whole test suite there
#   make fuzz       builds the libFuzzer targets into build-fuzz/ and runs each for FUZZ_SECONDS
#                   (default 60; FUZZ_TARGETS="text plot" picks some)
# and one for the Windows port:
#   make test-windows   installs mingw-w64 and Wine when missing, cross-builds the toolkit-free core,
#                       the Windows process launcher and their tests into build-windows/, and runs
#                       the tests under Wine
BUILD_DIR ?= build
JOBS ?= 2
DEMO ?= examples/demo/DEMO.FRT
PACKAGE_DIR ?= build-package
WINDOWS_BUILD_DIR ?= build-windows

SANITIZE_BUILD_DIR ?= build-sanitize
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

.PHONY: all setup configure build run test package bench format clean sanitize fuzz setup-windows test-windows

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

sanitize: setup
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DZELKOVA_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	cd $(SANITIZE_BUILD_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DZELKOVA_FUZZ=ON
	cmake --build $(FUZZ_BUILD_DIR) --target fuzzers -j $(JOBS)
	sh scripts/run-fuzzers.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) $(SANITIZE_BUILD_DIR) $(FUZZ_BUILD_DIR) $(WINDOWS_BUILD_DIR)
