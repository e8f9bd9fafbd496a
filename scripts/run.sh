#!/usr/bin/env bash
# Builds the program (release) and starts it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=build/release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVSL_TESTS=OFF -DVSL_BENCH=OFF -DVSL_WERROR=OFF >/dev/null
cmake --build "$BUILD" --target vorteplan-softlabel
# Without arguments the example project opens (written by the build).
if [ "$#" -eq 0 ]; then
  set -- "$BUILD/examples/Cable and terminal labels.proj"
fi
exec "$BUILD/app/vorteplan-softlabel" "$@"
