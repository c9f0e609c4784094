#!/usr/bin/env bash
# Barcode control demonstration: registers QRNBC10.dll, renders one barcode of each of the
# nine styles (and Code 128 vertically up and down) through the control's DrawToDC into
# bitmaps, and turns them into PNG files (and one sheet of the nine) in <output>/barcode.
# Usage: run.sh <64-bit bin folder> <output folder>; WINEPREFIX and friends are set by scripts/demo.sh.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-arch.sh"
bin=$(readlink -f "$1")
output=$(readlink -f "$2")/barcode
mkdir -p "$output"

echo "Registering the barcode control QRNBC10.dll"
wine regsvr32 /s "$(winepath -w "$bin/QRNBC10.dll")"
echo "Drawing the nine barcode styles and two vertical Code 128 symbols through DrawToDC (0.45 mm modules, centred):"
wine "$bin/barcode_demo.exe" "$(winepath -w "$output")" 2>/dev/null | tr -d '\r'
for picture in "$output"/*.bmp; do
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
convert "$output"/[1-9]-*.png -bordercolor '#d0d0d0' -border 2 -append "$output/all-styles.png"
echo "Wrote $(ls "$output"/[0-9]*-*.png | wc -l) pictures and all-styles.png (the nine styles) to $output"
