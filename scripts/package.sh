#!/usr/bin/env bash
# Installs what is missing, builds everything, then makes the installer
# packages in <build>/package/: the 64-bit package (64-bit and 32-bit DLLs) and
# the 32-bit package (32-bit DLLs, for 32-bit Windows), each registering the
# classes through its own registry rows.
# Usage: scripts/package.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

scripts/build.sh "$build"
installer/make-packages.sh "$build/dist" "$build/cross/x64/bin/registration_text.exe" "$build/package"
