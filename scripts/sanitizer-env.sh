# Sourced by the sanitizer runs: every report fails the run, leaks included.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1${ASAN_EXTRA:+:$ASAN_EXTRA}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
