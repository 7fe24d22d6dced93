#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tarnel on a simulated bus of
# three controllers (addresses 5, 17 and 200; the rope of 17 lies in water),
# which is port 1. Without a display it runs under Xvfb, saves a screenshot
# and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/x_session.sh
source scripts/simulated_bus.sh

scripts/build.sh tarnel tarnel-sim
bin=build/default

start_simulated_bus 5 17,wet 200
cleanup() {
  kill "$SIM_PID" 2>/dev/null || true
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
echo "Simulated controllers at 5, 17 (rope in water) and 200 on port 1 ($TARNEL_PORTS); traffic in $SIM_LOG"

if start_x_if_needed; then
  trap cleanup EXIT
  "$bin/src/ui/tarnel" &
  tarnel_pid=$!
  window=$(wait_for_window Tarnel)
  sleep 0.5
  mkdir -p build/screenshots
  import -window "$window" build/screenshots/tarnel.png
  kill "$tarnel_pid"
  echo "No display here: Tarnel ran under Xvfb; its window is in build/screenshots/tarnel.png"
else
  "$bin/src/ui/tarnel"
fi
