#!/usr/bin/env bash
# tarnel-link on a silent simulated bus at 9600 baud: a scan of 0..255 with
# --timeout 50, against 256 x (50 ms + the probe's 8.3 ms on the wire), with
# the simulator's line timing off and on; then Ctrl-C during a 5000 ms wait,
# to the tool's exit (median of 5).
#
# usage: link_scan_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/simulated_bus.sh

export TARNEL_BUILD=${1:-build/default}
link="$TARNEL_BUILD/tools/link/tarnel-link"
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

scan() {  # LABEL SIM_ARGS...
  local label=$1
  shift
  start_simulated_bus "$@"
  local start=$(now_ms)
  "$link" scan -p 1 --timeout 50 --listen 0 >/dev/null 2>&1 || true
  local ms=$(($(now_ms) - start))
  kill "$SIM_PID"; rm -f "$SIM_LOG"
  echo "silent scan 0..255, $label: $ms ms, $(awk "BEGIN { printf \"%.4f\", $ms / (256 * (50 + 80 / 9.6)) }") x 256 x 58.3 ms (target <= 1.05)"
}
scan "line timing off" 1,silent
scan "line timing on" --line-time 1,silent

# The doctor on a healthy bus of 3 controllers against scan --all, both
# without listening first.
start_simulated_bus 5 100 200
start=$(now_ms)
"$link" scan -p 1 --all --timeout 50 --listen 0 >/dev/null 2>&1
scanned=$(($(now_ms) - start))
start=$(now_ms)
"$link" doctor -p 1 --timeout 50 --listen 0 >/dev/null 2>&1 || true
diagnosed=$(($(now_ms) - start))
kill "$SIM_PID"; rm -f "$SIM_LOG"
echo "doctor on 3 controllers, 0..255: $diagnosed ms against scan --all $scanned ms:" \
  "$(awk "BEGIN { printf \"%.3f\", $diagnosed / $scanned }") x (goal <= 1.2, its listening apart)"

start_simulated_bus 1,silent
trap 'kill $SIM_PID 2>/dev/null || true; rm -f "$SIM_LOG"' EXIT
times=()
for _ in 1 2 3 4 5; do
  "$link" scan -p 1 --timeout 5000 >/dev/null 2>&1 &
  pid=$!
  sleep 0.5
  start=$(now_ms)
  kill -INT "$pid"
  wait "$pid" || true
  times+=($(($(now_ms) - start)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "Ctrl-C during a 5000 ms wait to exit: median $median ms of ${times[*]} (goal <= 100)"
