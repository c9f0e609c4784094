#!/usr/bin/env bash
# The log window's part of the demonstration: registers BrnLog.dll, runs a
# client that logs, filters and saves, and takes pictures of the log window
# and the Edit Categories dialog.
# Usage: run.sh <64-bit bin folder> <output folder>  (WINEPREFIX etc. set by scripts/demo.sh)
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-arch.sh"
bin=$1
output=$2

wine regsvr32 /s "$(winepath -w "$bin/BrnLog.dll")"
echo "BrnLog.dll is registered."
# Wine draws the window frames itself (caption and menu bar show on the
# pictures, which have no window manager to draw them).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# Takes the picture `name` once the client says it is ready, cropped to the
# rectangle it wrote (with a margin), then tells it the picture is taken.
picture() {
  local name=$1 ready=$output/$1.ready
  for _ in $(seq 1 600); do
    [ -s "$ready" ] && break
    sleep 0.1
  done
  if [ ! -s "$ready" ]; then
    echo "(no $name picture: the client did not get there)"
    return
  fi
  sleep 0.5
  read -r x y width height < "$ready"
  import -window root -crop "$((width + 20))x$((height + 20))+$((x > 10 ? x - 10 : 0))+$((y > 10 ? y - 10 : 0))" \
    +repage "$output/$name.png"
  touch "$output/$name.taken"
}

# (The save-file dialog makes Wine complain about the Z: drive's label; that line is left out.)
wine "$bin/log_demo.exe" "$(winepath -w "$output")" 2> >(grep -v "Read access denied" >&2) &
client=$!
picture log-window
picture edit-categories
wait "$client"
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
rm -f "$output"/*.ready "$output"/*.taken
echo "Files: brnlog-demo.log (the saved log), log-window.png, edit-categories.png"
