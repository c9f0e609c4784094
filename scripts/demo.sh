#!/usr/bin/env bash
# Installs what is missing, builds everything, then shows the four components
# at work as a user would see them, under Wine in a fresh 32-bit prefix and a
# virtual display. Files the demonstration makes (images, saved logs,
# screenshots) are written to demo-output/.
# Usage: scripts/demo.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}

scripts/build.sh "$build"
bin=$root/$build/cross/bin
output=$root/demo-output
prefix=$root/$build/demo-prefix
rm -rf "$output" "$prefix"
mkdir -p "$output"

export WINEARCH=win32 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
echo "== Preparing a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w

run_parts() {
  for component in sharedmem barcode log service; do
    part=$root/demo/$component/run.sh
    [ -x "$part" ] || continue
    echo
    echo "================ $component ================"
    "$part" "$bin" "$output"
  done
}

if [ -z "${DISPLAY:-}" ]; then
  # xvfb-run's own shell drops exported functions: the function goes in the command.
  export root bin output
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run_parts); run_parts"
else
  run_parts
fi
wineserver -k || true
echo
echo "Demonstration files are in $output"
