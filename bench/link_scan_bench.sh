#!/usr/bin/env bash
# tarnel-link scanning a silent simulated bus: 0..255 at one speed, and at
# all five, with a 50 ms wait per probe, against 256 (and 5 x 256) x 50 ms.
#
# usage: link_scan_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/simulated_bus.sh

export TARNEL_BUILD=${1:-build/default}
start_simulated_bus 1,silent
trap 'kill $SIM_PID 2>/dev/null || true; rm -f "$SIM_LOG"' EXIT

run() {  # SPEEDS ARGS...: prints the time against the target
  local speeds=$1
  shift
  local start=${EPOCHREALTIME/./}
  "$TARNEL_BUILD/tools/link/tarnel-link" scan -p 1 --from 0 --to 255 --timeout 50 "$@" >/dev/null 2>&1 || true
  local ms=$(((${EPOCHREALTIME/./} - start) / 1000)) budget=$((speeds * 256 * 50))
  echo "tarnel-link scan${*:+ $*} over 0..255: $ms ms, $(awk "BEGIN { printf \"%.4f\", $ms / $budget }") x $speeds x 256 x 50 ms (target <= 1.05)"
}
run 1
run 5 --all --baud all
