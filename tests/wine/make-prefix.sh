#!/usr/bin/env bash
# Creates the 32-bit Wine prefix that every Wine test copies, once.
# Usage: make-prefix.sh <folder>. Does nothing when the prefix is complete.
set -euo pipefail

prefix=$1
[ -f "$prefix/.complete" ] && exit 0

lock=$prefix.lock
mkdir -p "$(dirname "$prefix")"
exec 9>"$lock"
flock 9
[ -f "$prefix/.complete" ] && exit 0

rm -rf "$prefix"
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wineboot -i >/dev/null 2>&1
# Without a window manager on the virtual display, Wine waits two seconds for
# every managed window it destroys to be withdrawn; unmanaged windows go at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A loaded machine can be slow to start a service program; the manager waits
# up to two minutes for it to connect.
wine reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 120000 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.complete"
