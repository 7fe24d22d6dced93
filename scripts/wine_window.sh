# Sourced by the scripts that run the Windows build of Tarnel under Wine:
# a private prefix in the build tree, the simulated bus mapped as a COM port,
# and the window driver, a Windows program that reads and moves the window.
source "$(dirname "${BASH_SOURCE[0]}")/x_window.sh"

# Readies Wine for build tree $1 (its prefix made by the wine_prefix test)
# and sets WINDOWS_BUILD.
use_wine() {
  local build
  build=$(realpath "$1")
  export PATH=/usr/lib/wine:$PATH WINEDEBUG=-all
  export WINEPREFIX=$build/wine-prefix HOME=$build/wine-prefix
  WINDOWS_BUILD=$build/windows
}

# A Windows program in Chinese (or in WINDOWS_LANG): Wine takes the
# language from LANG, which stays off the other tools (xdotool's patterns
# want the C locale).
wine_zh() {
  LANG=${WINDOWS_LANG:-zh_CN.UTF-8} wine64 "$@"
}

# Runs the window driver's steps; one line each, without Windows' CRs.
driver() {
  wine_zh "$WINDOWS_BUILD/tests/windows/window_driver.exe" "$@" | tr -d '\r'
}

# Starts Xvfb, tarnel-sim with the controllers given, maps its line as a COM
# port above the ones Wine makes, and starts tarnel.exe. Sets WINDOW, COM,
# SIM_PID and SIM_LOG; everything stops on exit, the simulator after Wine.
start_wine_tarnel() {  # BUILD_DIR CONTROLLER...
  local build=$1
  shift
  use_wine "$build"
  # A server still going away from the last run would take no new program.
  wineserver -w
  export TARNEL_BUILD=$build
  unset DISPLAY
  start_x_if_needed
  start_simulated_bus "$@"
  COM=$((10 + $$ % 80))
  ln -sfn "$TARNEL_PORTS" "$WINEPREFIX/dosdevices/com$COM"
  trap stop_wine_tarnel EXIT
  wine_zh "$WINDOWS_BUILD/src/ui/tarnel.exe" &
  TARNEL_PID=$!
  # Now and then, on a busy machine, Wine starts no program at all after a
  # server went away: what ran is shown, and Wine gets one more start.
  if ! WINDOW=$(wait_for_window Tarnel 20); then
    ps -eo pid,stat,etime,args | grep -E '[w]ine|[.]exe' >&2 || true
    kill "$TARNEL_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wineserver -w
    wine_zh "$WINDOWS_BUILD/src/ui/tarnel.exe" &
    TARNEL_PID=$!
    WINDOW=$(wait_for_window Tarnel)
  fi
}

stop_wine_tarnel() {
  kill "$TARNEL_PID" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  kill "$SIM_PID" "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/com$COM" "$SIM_LOG"
}

# Tarnel under Wine on a silent bus with its port open, ready for the
# operator's moves of x_window.sh: the control positions come from the
# window itself, since Wine's dialog units differ from Qt's.
start_wine_tarnel_on_silent_bus() {  # BUILD_DIR
  start_wine_tarnel "$1" 1,silent
  driver set 1007 "$COM"
  local positions
  mapfile -t positions < <(driver center 1019 center 1001 center 1010 center 1003 center 1015 center 1016 \
    center 1017 rect 1004)
  PORT_OPEN=${positions[0]} START_ADDR=${positions[1]} PERIOD=${positions[2]} SEARCH=${positions[3]}
  OLD_ADDR=${positions[4]} NEW_ADDR=${positions[5]} SET_ADDR=${positions[6]}
  read -r w h x y <<<"${positions[7]}"
  RESULT_CROP="${w}x${h}+${x}+${y}"
  click "$PORT_OPEN"
  until (($(window_count Tarnel) == 2)); do sleep 0.02; done
  xdotool key Return  # closes "打开成功"
  until (($(window_count Tarnel) == 1)); do sleep 0.02; done
}

# xdotool's search does not match the Chinese of the names Wine gives its
# windows, only their ASCII.
ABOUT_TITLE=".+ Tarnel"

# The about command from the window menu.
open_about_box() {
  open_window_menu_item 1
}

# Chooses item N (from 1) of the window's own items, the last three of its
# system menu: the about box, 现场调试, 总线诊断.
open_window_menu_item() {  # N
  driver menu >/dev/null
  sleep 0.2
  xdotool key $(printf 'Up %.0s' $(seq $((4 - $1)))) Return
}
