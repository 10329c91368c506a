# Thin wrapper around CMake. `make play` and `make test` do all set-up on a fresh Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build play test bench clean

all: build

deps:
	scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/run && ./kalvento

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	scripts/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# Fuzz the readers of outside data for FUZZ_SECONDS each (default 60) in build-fuzz.
.PHONY: fuzz
fuzz: deps
	scripts/run-fuzz.sh
