#!/usr/bin/env bash
# Demonstration of QRNShrMem: two processes and a VBScript client share one
# named section. Usage: run.sh <bin folder> <output folder>
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")" && pwd)

echo "Registering QRNShrMem.dll with regsvr32"
wine regsvr32 /s "$(winepath -w "$bin/QRNShrMem.dll")"
wine "$bin/shared_memory_demo.exe" writer "$(winepath -w "$here/shared_memory_demo.vbs")" 2>/dev/null | tr -d '\r'
