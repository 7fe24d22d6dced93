#!/usr/bin/env bash
# Shows the operator window, a message box and the about box in a real X window (under
# Xvfb when there is no display) and saves a screenshot of each.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/x_session.sh

scripts/build.sh tarnel
start_x_if_needed || true

out=build/screenshots
mkdir -p "$out"
build/default/src/ui/tarnel &
tarnel_pid=$!
trap 'kill $tarnel_pid 2>/dev/null || true; [[ -n "${XVFB_PID:-}" ]] && kill $XVFB_PID 2>/dev/null || true' EXIT

main=$(wait_for_window Tarnel)
sleep 0.5
import -window "$main" "$out/main-window.png"

# A message box: search with no port open.
xdotool mousemove --window "$main" 65 196 click 1
sleep 0.5
box=$(xdotool search --onlyvisible --name '^Tarnel$' | grep -vx "$main" | head -1)
import -window "$box" "$out/message-box.png"
xdotool key Return
sleep 0.3

# The about command sits in the context menu of the window background.
xdotool mousemove --window "$main" 300 80 click 3
sleep 0.5
xdotool key Down Return
about=$(wait_for_window "关于 Tarnel")
sleep 0.5
import -window "$about" "$out/about-box.png"
xdotool key Escape

echo "Screenshots: $out/main-window.png $out/message-box.png $out/about-box.png"
