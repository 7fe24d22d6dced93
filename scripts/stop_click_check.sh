#!/usr/bin/env bash
# In a real X window (under Xvfb where there is no display): a scan at period
# 1000 on a silent bus visibly advances the result field between probes, and
# a real mouse click on "停止" stops it before the next probe.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/x_session.sh
source scripts/simulated_bus.sh

scripts/build.sh tarnel tarnel-sim
start_x_if_needed || true
out=build/screenshots
mkdir -p "$out"

start_simulated_bus 1
tarnel_pid=
cleanup() {
  kill "$SIM_PID" ${tarnel_pid:+"$tarnel_pid"} 2>/dev/null || true
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

build/default/src/ui/tarnel &
tarnel_pid=$!
window=$(wait_for_window Tarnel)
sleep 0.5

# Centres of the controls, in pixels of the 6 x 12 base units.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
type_into() { click "$1" "$2"; xdotool key ctrl+a; xdotool type "$3"; }
probes() { grep -c ' <- .. 04 40 02' "$SIM_LOG" || true; }
result_field() { import -window "$window" -crop 47x21+221+186 "$1"; }

type_into 335 138 1000      # period
type_into 129 138 10        # start address
click 337 49                # open the port
xdotool key Return          # close "打开成功"
sleep 0.3
click 65 196                # search
sleep 2.5
result_field "$out/result-at-2.5s.png"
sleep 1
result_field "$out/result-at-3.5s.png"
sleep 0.8                   # now in the middle of a probe
before=$(probes)
click 65 196                # stop
sleep 2.5
after=$(probes)

status=0
if cmp -s "$out/result-at-2.5s.png" "$out/result-at-3.5s.png"; then
  echo "FAIL: the result field did not advance between probes"; status=1
else
  echo "ok: the result field advanced between probes (see $out/result-at-*.png)"
fi
if ((after > before)); then
  echo "FAIL: $((after - before)) probe(s) went out after the click on 停止"; status=1
else
  echo "ok: no probe after the click on 停止 ($before probes in all)"
fi
exit $status
