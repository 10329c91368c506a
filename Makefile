# Thin wrapper around CMake. `make play` and `make test` do all set-up on a fresh Debian machine.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# `make install` puts the game under PREFIX (inside DESTDIR when that is set).
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build play test bench test-asan soak clean install uninstall package pot

all: build

deps:
	scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# po/kalvento.pot from the texts the code marks (then `msgmerge --update po/LANG.po po/kalvento.pot`).
pot:
	scripts/update-pot.sh po/kalvento.pot

play: build
	cd $(BUILD)/run && ./kalvento

# bin/kalvento, share/kalvento (data and music), the menu entry, icons, AppStream data and
# the manual page.
# The list of what went where is kept apart from CMake's own, which every package build rewrites.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	cp $(BUILD)/install_manifest.txt $(BUILD)/installed-files.txt

# Removes what the last `make install` put in place.
uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall.sh $(BUILD)/installed-files.txt

# $(BUILD)/kalvento_VERSION_ARCH.deb
package: build
	cmake --build $(BUILD) --target package

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
