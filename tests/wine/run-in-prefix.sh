#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, of the architecture
# in QUARENT_WINE_ARCH (win32, the default, or win64).
#
# The prefix is a fresh copy of the template prefix that make-prefix.sh builds
# once per build tree, so no test sees the registrations or sections of another.
# Environment: QUARENT_WINE_ROOT (folder of the template and the test prefixes),
# QUARENT_TEST_NAME (name of the test's prefix; defaults to the program's name),
# QUARENT_NEEDS_32BIT (set when a 64-bit test also starts 32-bit programs).
# The program gets a virtual display of its own too: tests running side by side
# on one display would take each other's focus, menus and clipboard.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-arch.sh"

program=$1
shift
root=${QUARENT_WINE_ROOT:-$(dirname "$(readlink -f "$program")")/../wine}
name=${QUARENT_TEST_NAME:-$(basename "$program" .exe)}
template=$root/template
prefix=$root/prefixes/$name

if [ "$QUARENT_WINE_ARCH" = win32 ]; then
  skip_without_32bit "so this 32-bit test cannot run"
elif [ -n "${QUARENT_NEEDS_32BIT:-}" ]; then
  skip_without_32bit "so this test's 32-bit programs cannot run"
fi
"$(dirname "$0")/make-prefix.sh" "$template" >/dev/null

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
# The system files are shared through hard links (Wine never rewrites them in
# place); the registry files, which Wine does rewrite, are real copies.
mkdir -p "$prefix"
cp -al "$template/drive_c" "$prefix/drive_c"
for entry in "$template"/* "$template"/.update-timestamp; do
  [ "$(basename "$entry")" = drive_c ] || cp -a "$entry" "$prefix/"
done

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Xvfb picks a free display number itself and reports it (-displayfd), so
# parallel tests never race for one.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
stop_display() {
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$display_file"
}
trap stop_display EXIT
for _ in $(seq 1 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
export DISPLAY=:$(tr -d '[:space:]' <"$display_file")

status=0
wine "$program" "$@" || status=$?
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if [ "$status" -eq 0 ] && [ -z "${QUARENT_KEEP_PREFIX:-}" ]; then
  rm -rf "$prefix"
fi
exit "$status"
