# Thin wrapper around CMake. `make play` and `make test` do all set-up on a fresh Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build play test bench test-asan soak clean

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

# The whole suite built with AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer.
ASAN_BUILD ?= build-asan
test-asan: deps
	scripts/test-asan.sh $(ASAN_BUILD) $(JOBS)

# An hour of game time played by the autopilot, game after game, on the sanitizer build and
# on the plain one.
SOAK_FRAMES ?= 216000
soak: deps
	scripts/soak.sh $(ASAN_BUILD) $(BUILD) $(SOAK_FRAMES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz

# Fuzz the readers of outside data for FUZZ_SECONDS each (default 60) in build-fuzz.
.PHONY: fuzz
fuzz: deps
	scripts/run-fuzz.sh
