# Sourced by the sanitizer runs: every report fails the run, leaks included.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1${ASAN_EXTRA:+:$ASAN_EXTRA}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
