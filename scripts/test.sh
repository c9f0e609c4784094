#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests and fuzz targets, and the Windows tests under Wine (each in a
# fresh 32-bit prefix and on a virtual display of its own), all from one ctest
# run.
# Usage: scripts/test.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/build.sh "$build"
ctest --test-dir "$build" --output-on-failure -j"${QUARENT_JOBS:-2}" --timeout 900
