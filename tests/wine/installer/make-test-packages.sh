#!/usr/bin/env bash
# Makes the packages the installer tests install: the current version and an
# older one, through installer/make-packages.sh in a copy of the test template
# prefix (QUARENT_WINE_ROOT, as run-in-prefix.sh does), so no prefix is booted for it.
# Usage: make-test-packages.sh <install tree> <registration_text.exe> <output folder> <version> <older version>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=$1 tool=$2 output=$3

"$here/../make-prefix.sh" "$QUARENT_WINE_ROOT/template" >/dev/null
export WINEPREFIX=$QUARENT_WINE_ROOT/prefixes/packages
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
cp -al "$QUARENT_WINE_ROOT/template/drive_c" "$WINEPREFIX/drive_c"
for entry in "$QUARENT_WINE_ROOT/template"/* "$QUARENT_WINE_ROOT/template/.update-timestamp"; do
  [ "$(basename "$entry")" = drive_c ] || cp -a "$entry" "$WINEPREFIX/"
done

rm -rf "$output"
"$here/../../../installer/make-packages.sh" "$dist" "$tool" "$output" "$4" "$5"
rm -rf "$WINEPREFIX"
