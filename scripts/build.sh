#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything: the host
# build (portable cores, unit tests, fuzz targets) and, through it, the Windows
# cross build (DLLs, Wine tests, demonstration programs) with its install tree.
# Usage: scripts/build.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja
cmake --build "$build" -j"${QUARENT_JOBS:-2}"
