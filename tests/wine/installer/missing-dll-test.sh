#!/usr/bin/env bash
# No package is made from an install tree that lacks one of its DLLs:
# make-packages.sh fails before running anything and names the missing file.
# Usage: missing-dll-test.sh <install tree> <registration_text.exe>
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$1" "$work/dist"
rm "$work/dist/QRNBC10/x86/QRNBC10.dll"

if "$(dirname "$0")/../../../installer/make-packages.sh" "$work/dist" "$2" "$work/out" 2>"$work/errors"; then
  echo "packages were made without QRNBC10.dll"
  exit 1
fi
cat "$work/errors"
grep -qx "  $work/dist/QRNBC10/x86/QRNBC10.dll" "$work/errors"
[ "$(grep -c "^  " "$work/errors")" -eq 1 ]
[ ! -e "$work/out" ]
