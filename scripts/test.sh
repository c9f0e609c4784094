#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests and fuzz targets, and the Windows tests under Wine (each in a
# fresh 32-bit prefix), all from one ctest run under a virtual display.
# Usage: scripts/test.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/build.sh "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure -j"${QUARENT_JOBS:-2}" --timeout 900
