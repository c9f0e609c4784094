#!/usr/bin/env bash
# Both architectures on one 64-bit Windows: the same late-bound script under
# the 64-bit script host and, where the machine runs 32-bit programs, under the
# 32-bit one (C:\windows\syswow64\cscript.exe); each host creates every class
# from the DLL registered for its architecture.
# Usage: run.sh <64-bit bin folder> <output folder> [<32-bit bin folder>]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-arch.sh"
bin=$1
bin32=${3:-}
script=$(winepath -w "$here/each_component.vbs")

for dll in QRNShrMem QRNBC10 BrnLog QRNNTSrv; do
  wine regsvr32 /s "$(winepath -w "$bin/$dll.dll")"
done
echo "-- The 64-bit script host (C:\\windows\\system32\\cscript.exe) with the 64-bit DLLs"
wine cscript //nologo "$script" | tr -d '\r'
if [ -n "$bin32" ]; then
  for dll in QRNShrMem QRNBC10 BrnLog QRNNTSrv; do
    wine 'C:\windows\syswow64\regsvr32.exe' /s "$(winepath -w "$bin32/$dll.dll")"
  done
  echo
  echo "-- The 32-bit script host (C:\\windows\\syswow64\\cscript.exe) with the 32-bit DLLs"
  wine 'C:\windows\syswow64\cscript.exe' //nologo "$script" | tr -d '\r'
fi
