#!/usr/bin/env bash
# QRNNTSrv demonstration: a script configures the service object, keeps
# settings and writes event-log entries; then a small service program built on
# the object is installed, driven through the service control manager and
# removed. Usage: run.sh <64-bit bin folder> <output folder> (WINEPREFIX etc. already set).
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-arch.sh"
bin=$1
output=$2
win() { winepath -w "$1"; }

echo "Registering QRNNTSrv.dll"
wine regsvr32 /s "$(win "$bin/QRNNTSrv.dll")"

echo
echo "-- A VBScript client configures the object, keeps settings and writes to the event log"
wine cscript //nologo "$(win "$bin/quarent_demo_settings.vbs")" | tr -d '\r'

echo
echo "-- The service program installs itself through the object"
wine "$(win "$bin/quarent_demo_service.exe")" install | tr -d '\r'
echo "The service control manager now knows it:"
wine sc query QuarentDemo 2>/dev/null | tr -d '\r' | grep -E "SERVICE_NAME|STATE" || true

echo
echo "-- A controller drives the service through the service control manager"
journal=$(winepath -u 'C:\quarent_demo_service.txt')
rm -f "$journal"
wine "$(win "$bin/quarent_demo_controller.exe")" | tr -d '\r'
sleep 1
echo
echo "What the service received as events of the object:"
sed 's/^/  /' "$journal" | tr -d '\r'
cp "$journal" "$output/service-events.txt"

echo
echo "-- The service program removes itself again"
wine "$(win "$bin/quarent_demo_service.exe")" uninstall | tr -d '\r'
echo "The service's event journal is in $output/service-events.txt"
