#!/usr/bin/env bash
# The Windows build of the window under Wine, read and moved through the
# window driver, on a simulated bus mapped as a COM port. What the window
# does with each command is tested on Qt; here, what USER32 and the Win32
# line make of it.
#
# usage: wine_window.sh BUILD_DIR CASE
#   form      defaults, captions, the baud list, the about box, the icon,
#             the message of a closed port and of a bad port number, Enter
#             and Escape, on an English Windows
#   rules     text typed into the baud list keeps the port's own speed (8N1
#             still); the port tooltip shows on hovering
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine_window.sh"

case_name=$2
status=0
expect() {  # WHAT EXPECTED ACTUAL
  if [[ $2 != "$3" ]]; then
    printf 'FAIL: %s\n--- expected\n%s\n--- seen\n%s\n' "$1" "$2" "$3"
    status=1
  fi
}
# ARGB words, one a line: the icon a window manager shows on the title and
# task bars, and the program's own 32 x 32 image.
window_icon() {
  xprop -id "$WINDOW" -f _NET_WM_ICON 32c _NET_WM_ICON | grep -o '[0-9]\+' | sed -n '1,2d; 3,1026p'
}
program_icon() {
  convert "$1/src/ui/icon/tarnel-32.png" -depth 8 rgba:- | od -An -v -tu1 -w4 |
    awk '{ printf "%.0f\n", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }'
}

case $case_name in
form)
  # Also where the system's own buttons say "OK", the boxes say 确定.
  export WINDOWS_LANG=en_US.UTF-8
  start_wine_tarnel "$1" 1
  expect "the form at the start" "1
0
250
0


搜索
打开串口
设置地址
设置水浸绳校零
1200.n.8.1 2400.n.8.1 4800.n.8.1 9600.n.8.1 19200.n.8.1 | 3
about [icon] Tarnel 1.0 版 确定" \
    "$(driver text 1007 text 1001 text 1010 text 1004 text 1015 text 1016 text 1003 text 1019 text 1017 text 1008 \
      list 1013; open_about_box; driver about)"
  expect "the window icon" "$(program_icon "$1" | md5sum)" "$(window_icon | md5sum)"
  expect "a command on a closed port" "box 请先打开串口 [确定] Tarnel (window's)" "$(driver click 1017 box)"
  expect "a bad port number: blamed, nothing opened" "box 请输入一个介于 1 和 99 之间的整数。 [确定] Tarnel (window's)
no box
打开串口" "$(driver set 1007 0 click 1019 box no-box 500 text 1019)"
  # Enter in an edit reads the form and keeps the window while a field fails;
  # Escape closes it, and the program ends.
  driver set 1007 1 set 1010 249 >/dev/null
  click "$(driver center 1001)"
  xdotool key Return
  expect "Enter in an edit" "box 请输入一个介于 250 和 1000 之间的整数。 [确定] Tarnel (window's)" "$(driver box)"
  xdotool key Escape
  for _ in $(seq 50); do
    (($(window_count Tarnel) == 0)) && break
    sleep 0.1
  done
  expect "Escape closes the window" "0" "$(window_count Tarnel)"
  ;;
rules)
  start_wine_tarnel "$1" 1,silent
  # The port opens once at 19200, then 1200 is selected and text typed over it.
  driver set 1007 "$COM" select 1013 4 click 1019 box click 1019 box select 1013 0 >/dev/null
  type_into "$(driver center 1013)" 38400
  expect "typed text leaves no selection" "1200.n.8.1 2400.n.8.1 4800.n.8.1 9600.n.8.1 19200.n.8.1 | -1
box 打开成功 [确定] Tarnel (window's)" "$(driver list 1013 click 1019 box)"
  line=$(stty -F "$TARNEL_PORTS" -a)
  expect "the port's own speed, 8N1" "speed 19200 baud; -parenb cs8 -cstopb" \
    "$(grep -o 'speed [0-9]* baud' <<<"$line"); $(grep -o -- '-\?cs8\|-\?parenb\|-\?cstopb' <<<"$line" | tr '\n' ' ' | sed 's/ $//')"
  xdotool mousemove --window "$WINDOW" $(driver center 1007)
  expect "the port tooltip on hovering" "串口号：" "$(driver tip | head -1)"
  ;;
*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac
((status == 0)) && echo "ok: $case_name"
exit $status
