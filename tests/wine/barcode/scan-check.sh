#!/usr/bin/env bash
# Renders the barcodes under Wine and reads every picture back with an independent decoder:
# each <name>.bmp must decode to the text in <name>.txt. zbar's zbarimg is asked first; a
# picture it cannot read goes to zxing-cpp (Debian's python3-zxing-cpp), which reads Codabar
# with the 2:1 ratio this control draws but reports it without its start and stop letters.
# Usage: scan-check.sh <wine runner> <render program> <work folder>
set -euo pipefail
runner=$1
program=$2
work=$3

command -v zbarimg >/dev/null || { echo "zbarimg (Debian package zbar-tools) is missing"; exit 1; }
zxing_reader=$(dirname "$(readlink -f "$0")")/zxing_read.py
rm -rf "$work"
mkdir -p "$work"
cd "$work"
"$runner" "$program"

status=0
count=0
for picture in *.bmp; do
  expected=$(cat "${picture%.bmp}.txt")
  decoded=$(zbarimg --quiet --raw "$picture" 2>/dev/null | tr -d '\r' || true)
  if [ "$decoded" = "$expected" ]; then
    echo "zbar read: $picture -> $decoded"
    count=$((count + 1))
    continue
  fi
  zxing=$(/usr/bin/python3 "$zxing_reader" "$picture" 2>&1 || true)
  case "$zxing" in
    "Codabar:${expected:1:${#expected}-2}" | "Code39:$expected" | "Code128:$expected")
      echo "zxing-cpp read: $picture -> $zxing (zbar read [$decoded])"
      ;;
    *)
      echo "MISMATCH: $picture: expected [$expected], zbar read [$decoded], zxing-cpp read [$zxing]"
      status=1
      ;;
  esac
  count=$((count + 1))
done
if [ "$count" -lt 8 ]; then
  echo "only $count pictures were rendered"
  status=1
fi
exit $status
