#!/usr/bin/env bash
# Builds everything, then runs every benchmark program and prints its figures:
# host programs directly, Windows programs under Wine in a fresh prefix.
# Usage: scripts/benchmarks.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/build.sh "$build"
for program in "$build"/benchmarks/*_benchmark; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program"
done
for program in "$build"/cross/bin/*_benchmark.exe; do
  [ -f "$program" ] || continue
  echo "== $(basename "$program")"
  QUARENT_WINE_ROOT=$(pwd)/$build/cross/wine QUARENT_TEST_NAME=$(basename "$program" .exe) \
    tests/wine/run-in-prefix.sh "$program" 2>/dev/null | tr -d '\r'
done
