#!/usr/bin/env bash
# Demonstration of QRNShrMem: a 64-bit process, a second process (32-bit when
# the machine runs 32-bit programs) and a VBScript client share one named
# section. Usage: run.sh <64-bit bin folder> <output folder> [<32-bit bin folder>]
set -euo pipefail
bin=$1
bin32=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-arch.sh"

echo "Registering QRNShrMem.dll with regsvr32"
wine regsvr32 /s "$(winepath -w "$bin/QRNShrMem.dll")"
reader=()
if [ -n "$bin32" ]; then
  echo "Registering the 32-bit QRNShrMem.dll with the 32-bit regsvr32 (C:\\windows\\syswow64)"
  wine 'C:\windows\syswow64\regsvr32.exe' /s "$(winepath -w "$bin32/QRNShrMem.dll")"
  reader=("$(winepath -w "$bin32/shared_memory_demo.exe")")
fi
wine "$bin/shared_memory_demo.exe" writer "$(winepath -w "$here/shared_memory_demo.vbs")" "${reader[@]}" 2>/dev/null |
  tr -d '\r'
