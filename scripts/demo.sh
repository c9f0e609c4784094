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

if [ -z "${QUARENT_DEMO_BUILT:-}" ]; then
  scripts/build.sh "$build"
fi
# Windows need a display: without one, run again under a virtual display.
if [ -z "${DISPLAY:-}" ]; then
  QUARENT_DEMO_BUILT=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

bin=$root/$build/cross/bin
output=$root/demo-output
prefix=$root/$build/demo-prefix
rm -rf "$output" "$prefix"
mkdir -p "$output"

export WINEARCH=win32 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
echo "== Preparing a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
# Without a window manager, unmanaged windows close at once (managed ones wait).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

for component in sharedmem barcode log service; do
  part=$root/demo/$component/run.sh
  [ -x "$part" ] || continue
  echo
  echo "================ $component ================"
  "$part" "$bin" "$output"
done
wineserver -k || true
echo
echo "Demonstration files are in $output"
