# Two entry points on a fresh Debian 12 machine:
#   make run        installs what is missing, builds, and starts Zelkova on the bundled demo run file
#   make test       installs what is missing, builds, and runs the whole test suite
# and one for hardening, with clang:
#   make fuzz       builds the libFuzzer targets into build-fuzz/ and runs each for FUZZ_SECONDS
#                   (default 60; FUZZ_TARGETS="text plot" picks some)
BUILD_DIR ?= build
JOBS ?= 2
DEMO ?= examples/demo/DEMO.FRT
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

.PHONY: all setup configure build run test bench format clean fuzz

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
	rm -rf $(BUILD_DIR) $(FUZZ_BUILD_DIR)
