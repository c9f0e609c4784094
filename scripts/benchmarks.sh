#!/usr/bin/env bash
# Builds everything, then runs every benchmark program and prints its figures:
# host programs directly, Windows programs under Wine in a fresh prefix of
# their architecture, the 32-bit set and the 64-bit set each under its label.
# Usage: scripts/benchmarks.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/build.sh "$build"
for program in "$build"/benchmarks/*_benchmark; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program") (host)"
  "$program"
done
for arch in x86 x64; do
  [ "$arch" = x64 ] && wine_arch=win64 || wine_arch=win32
  for program in "$build"/cross/$arch/bin/*_benchmark.exe; do
    [ -f "$program" ] || continue
    echo "== $(basename "$program") ($arch)"
    QUARENT_WINE_ARCH=$wine_arch QUARENT_WINE_ROOT=$(pwd)/$build/cross/$arch/wine \
      QUARENT_TEST_NAME=$(basename "$program" .exe) \
      tests/wine/run-in-prefix.sh "$program" 2>/dev/null | tr -d '\r' || echo "(not run: exit $?)"
  done
done
