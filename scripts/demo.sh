#!/usr/bin/env bash
# Installs what is missing, builds everything, then shows the four components
# at work as a user would see them, under Wine in a fresh 64-bit prefix and a
# virtual display: 64-bit clients throughout, and 32-bit ones beside them where
# the machine can run 32-bit programs. Files the demonstration makes (images,
# saved logs, screenshots) are written to demo-output/.
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

export QUARENT_WINE_ARCH=win64
source "$root/scripts/wine-arch.sh"
bin64=$root/$build/cross/x64/bin
bin32=$root/$build/cross/x86/bin
output=$root/demo-output
prefix=$root/$build/demo-prefix
rm -rf "$output" "$prefix"
mkdir -p "$output"

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
echo "== Preparing a fresh 64-bit Wine prefix"
wine wineboot -i >/dev/null 2>&1
# Without a window manager, unmanaged windows close at once (managed ones wait).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
if can_run_32bit; then
  echo "The 32-bit DLLs are registered beside the 64-bit ones, for the 32-bit clients."
else
  echo "This machine cannot run 32-bit programs: every client below is 64-bit."
  bin32=
fi

for component in sharedmem barcode log service architectures; do
  echo
  echo "================ $component ================"
  "$root/demo/$component/run.sh" "$bin64" "$output" "$bin32"
done
wineserver -k || true
echo
echo "Demonstration files are in $output"
