#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test (unit tests and fuzz corpora) on Qt's offscreen platform;
# builds the Release configuration too, where any compiler warning is an
# error. Both builds go through ccache when it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# A tree of its own: run.sh's build/release is configured without -Werror
# and without the benchmarks.
RELEASE=build/werror
cmake -S . -B "$RELEASE" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSL_WERROR=ON -DVSL_TESTS=OFF -DVSL_BENCH=ON \
  "${LAUNCHER[@]}" >/dev/null
cmake --build "$RELEASE"

# The sanitizer tree takes the same warnings as errors.
BUILD=build/asan
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVSL_SANITIZE=ON -DVSL_WERROR=ON "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD"
export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: see cmake/Sanitizers.cmake.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
ctest --test-dir "$BUILD" --output-on-failure --no-tests=error -j "$(nproc)"
