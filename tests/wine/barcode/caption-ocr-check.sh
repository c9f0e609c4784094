#!/usr/bin/env bash
# Renders the text bands of horizontal barcodes under Wine and reads them back with a text
# recogniser written elsewhere (tesseract, Debian's tesseract-ocr): each <name>.bmp must read as
# the caption in <name>.txt. A caption whose descenders fall outside the rectangle reads wrong
# ("QRN" as "ORN", "gypsy" as "avosv").
# Usage: caption-ocr-check.sh <wine runner> <render program> <work folder>
set -euo pipefail
runner=$1
program=$2
work=$3

command -v tesseract >/dev/null || { echo "tesseract (Debian package tesseract-ocr) is missing"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
cd "$work"
"$runner" "$program" captions

status=0
count=0
for picture in *.bmp; do
  expected=$(cat "${picture%.bmp}.txt")
  # One line of text (page segmentation mode 7); tesseract ends its output with a form feed.
  read_back=$(tesseract "$picture" - --psm 7 2>/dev/null | tr -d '\r\f' | head -n 1 | sed -e 's/[[:space:]]*$//')
  if [ "$read_back" = "$expected" ]; then
    echo "tesseract read: $picture -> $read_back"
  else
    echo "MISMATCH: $picture: expected [$expected], tesseract read [$read_back]"
    status=1
  fi
  count=$((count + 1))
done
if [ "$count" -lt 2 ]; then
  echo "only $count pictures were rendered"
  status=1
fi
exit $status
