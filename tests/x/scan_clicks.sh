#!/usr/bin/env bash
# Drives the real Tarnel window with real X input (xdotool, under a private
# Xvfb) on a silent simulated bus, and judges the scan by the probes in the
# simulator's trace: what happens behind boxes opened during a scan, after a
# stop or restart clicked during a probe, and when the line hangs up.
#
# usage: scan_clicks.sh BUILD_DIR CASE [wine]
#   wine: the Windows build under Wine instead of the Qt window
#   behind-set-address  >= 5 probes in 2 s at period 250 behind an open box
#   restart             a restart clicked during a probe first probes >= 0.9 period later
#   stop                the result field repaints between probes, and a click on 停止
#                       during a probe stops the scan before the next probe
#   hang-up             a line that hangs up mid-scan is reported within 2 periods
set -euo pipefail
scripts=$(dirname "$0")/../../scripts
case_name=$2
if [[ ${3:-} == wine ]]; then
  source "$scripts/wine_window.sh"
  start_wine_tarnel_on_silent_bus "$1"
else
  source "$scripts/x_window.sh"
  start_tarnel_on_silent_bus "$1"
fi

fail() { echo "FAIL: $*"; exit 1; }

case $case_name in
behind-set-address)
  set_form 250 0
  type_into "$OLD_ADDR" 3
  type_into "$NEW_ADDR" 7
  click "$SEARCH"
  wait_for_probes 1
  click "$SET_ADDR"  # nobody answers: "设置失败" stays open
  until (($(window_count Tarnel) == 2)); do sleep 0.02; done
  before=$(probes)
  sleep 2
  after=$(probes)
  (($(window_count Tarnel) == 2)) || fail "the box closed by itself"
  echo "probes in 2 s behind the box: $((after - before))"
  ((after - before >= 5)) || fail "the scan stalled behind the box"
  ;;
restart)
  set_form 1000 0
  click "$SEARCH"
  wait_for_probes 1
  sleep 0.8  # late in the probe, which blocks the window for 1 s
  clicked=$EPOCHREALTIME
  xdotool mousemove --window "$WINDOW" $SEARCH click --repeat 2 --delay 60 1
  wait_for_probes 2
  gap=$(elapsed_ms "$clicked")
  echo "first probe of the restarted scan: $gap ms after the clicks"
  ((gap >= 900)) || fail "the restarted scan probed before one period had passed"
  ;;
stop)
  set_form 1000 0
  click "$SEARCH"
  wait_for_probes 1
  sleep 0.3
  shown=$(result_field)
  sleep 1
  [[ $(result_field) != "$shown" ]] || fail "the result field did not repaint between probes"
  click "$SEARCH"
  before=$(probes)
  sleep 2.5
  after=$(probes)
  echo "probes after the click on 停止: $((after - before))"
  ((after == before)) || fail "the scan probed on after the click on 停止"
  ;;
hang-up)
  set_form 250 0
  click "$SEARCH"
  wait_for_probes 2
  kill "$SIM_PID"  # the other end of the line goes away
  lost=$EPOCHREALTIME
  until (($(window_count Tarnel) == 2)); do
    (($(elapsed_ms "$lost") < 3000)) || fail "no message after the line hung up"
    sleep 0.01
  done
  gap=$(elapsed_ms "$lost")
  echo "message $gap ms after the hang-up"
  ((gap <= 500)) || fail "the hang-up was reported only after $gap ms"
  ;;
*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac
echo "ok: $case_name"
