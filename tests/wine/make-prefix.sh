#!/usr/bin/env bash
# Creates the Wine prefix of the architecture in QUARENT_WINE_ARCH (win32 or
# win64) that every Wine test of that architecture copies, once.
# Usage: make-prefix.sh <folder>. Does nothing when the prefix is complete.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-arch.sh"

prefix=$1
[ "$QUARENT_WINE_ARCH" = win32 ] && skip_without_32bit "so no 32-bit Windows prefix can be made"
[ -f "$prefix/.complete" ] && exit 0

lock=$prefix.lock
mkdir -p "$(dirname "$prefix")"
exec 9>"$lock"
flock 9
[ -f "$prefix/.complete" ] && exit 0

rm -rf "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine wineboot -i >/dev/null 2>&1
# Without a window manager on the virtual display, Wine waits two seconds for
# every managed window it destroys to be withdrawn; unmanaged windows go at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A loaded machine can be slow to start a service program; the manager waits
# up to two minutes for it to connect.
wine reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 120000 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.complete"
