#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (with ASan and UBSan, the
# libraries instrumented for coverage) in build/fuzz, and runs one target
# over its seed corpus for a given number of seconds.
#
#   bash scripts/fuzz.sh fuzz_collection 60
#
# New inputs go to build/fuzz/corpus/<target>/ and crashes to
# build/fuzz/artifacts/<target>/; the committed seeds in fuzz/corpus/<target>/
# are only read. Further arguments are passed to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ]; then
  echo "usage: $0 <target> [seconds] [libFuzzer options...]" >&2
  echo "targets:" $(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//') >&2
  exit 2
fi
NAME=$1
TIME=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
if [ ! -f "fuzz/$NAME.cpp" ]; then
  echo "no fuzz target fuzz/$NAME.cpp" >&2
  exit 2
fi
if ! [[ "$TIME" =~ ^[0-9]+$ ]]; then
  echo "seconds must be a whole number: $TIME" >&2
  exit 2
fi

bash scripts/install-deps.sh
BUILD=build/fuzz
# A tree configured with another compiler cannot be switched in place.
if [ -f "$BUILD/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' "$BUILD/CMakeCache.txt"; then
  rm -rf "$BUILD"
fi
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVSL_FUZZ=ON -DVSL_SANITIZE=ON -DVSL_TESTS=OFF -DVSL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$BUILD" --target "$NAME"

WORK="$BUILD/corpus/$NAME"
ARTIFACTS="$BUILD/artifacts/$NAME/"
mkdir -p "$WORK" "$ARTIFACTS"
export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: see cmake/Sanitizers.cmake.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
exec "$BUILD/fuzz/$NAME" -max_total_time="$TIME" -artifact_prefix="$ARTIFACTS" "$@" \
  "$WORK" "fuzz/corpus/$NAME"
