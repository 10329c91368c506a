#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer in its own build
# folder and runs every test under them; any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-asan}"
jobs="${2:-$(nproc)}"
cmake -S . -B "$build" -G Ninja -DKV_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_FLAGS:-}
cmake --build "$build" -j "$jobs"
source scripts/sanitizer-env.sh
cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 1800
