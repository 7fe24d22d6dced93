# Sourced by the scripts that drive the real Tarnel window with X input (the
# real-input tests, their benchmark, the screenshots): where its controls
# are, the moves of the operator's hand, and Tarnel on a silent simulated bus.
scripts=$(dirname "${BASH_SOURCE[0]}")
source "$scripts/x_session.sh"
source "$scripts/simulated_bus.sh"

# Centres of the controls in pixels: dialog units at 6 x 12 base units.
PORT_OPEN="337 49"
START_ADDR="129 138"
PERIOD="335 138"
SEARCH="65 196"
OLD_ADDR="90 280"
NEW_ADDR="220 280"
SET_ADDR="312 276"
BACKGROUND="300 80"
# The about box's title, as a pattern for window searches.
ABOUT_TITLE="关于 Tarnel"

# Starts Xvfb, a silent bus as port 1 and Tarnel from build tree $1, and
# opens the port. Sets WINDOW, SIM_PID and SIM_LOG.
start_tarnel_on_silent_bus() {
  start_tarnel_on_bus "$1" 1,silent
}

# The same with the controllers given.
start_tarnel_on_bus() {  # BUILD_DIR CONTROLLER...
  export TARNEL_BUILD=$1
  shift
  unset DISPLAY
  start_x_if_needed
  start_simulated_bus "$@"
  "$TARNEL_BUILD/src/ui/tarnel" &
  TARNEL_PID=$!
  trap 'kill $TARNEL_PID $SIM_PID $XVFB_PID 2>/dev/null || true; wait; rm -f "$SIM_LOG"' EXIT
  WINDOW=$(wait_for_window Tarnel)
  sleep 0.3
  click "$PORT_OPEN"
  until (($(window_count Tarnel) == 2)); do sleep 0.02; done
  xdotool key Return  # closes "打开成功"
  until (($(window_count Tarnel) == 1)); do sleep 0.02; done
}

click() {  # "X Y"
  xdotool mousemove --window "$WINDOW" $1 click 1
  sleep 0.1
}

type_into() {  # "X Y" TEXT
  click "$1"
  xdotool key End shift+Home type "$2"
}

set_form() {  # PERIOD START_ADDRESS
  type_into "$PERIOD" "$1"
  type_into "$START_ADDR" "$2"
}

open_about_box() {  # from the context menu of the window background
  open_window_menu_item 1
}

# Chooses item N (from 1) of the window menu: the about box, 现场调试, 总线诊断.
open_window_menu_item() {  # N
  xdotool mousemove --window "$WINDOW" $BACKGROUND click 3
  sleep 0.2
  xdotool key $(printf 'Down %.0s' $(seq "$1")) Return
}

window_count() {  # TITLE
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}

RESULT_CROP=47x21+221+186

result_field() {  # a digest of the result field's pixels
  import -window "$WINDOW" -crop "$RESULT_CROP" rgb:- | md5sum
}

probes() {
  grep -c ' <- .. 04 40 02' "$SIM_LOG" || true
}

wait_for_probes() {  # COUNT: waits up to 5 s until the trace holds COUNT probes
  for _ in $(seq 500); do
    (($(probes) >= $1)) && return 0
    sleep 0.01
  done
  echo "FAIL: fewer than $1 probes on the bus" >&2
  exit 1
}

elapsed_ms() {  # START, an EPOCHREALTIME reading
  local now=${EPOCHREALTIME/./} start=${1/./}
  echo $(((now - start) / 1000))
}
