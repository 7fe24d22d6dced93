#!/usr/bin/env bash
# The site dialogs under real clicks against tarnel-sim: the Qt window with
# xdotool, or the Windows build under Wine, its controls found and read
# through the window driver.
#
# usage: site_clicks.sh BUILD_DIR CASE [wine]
#   commission  现场调试 on today's record: a controller connected on the
#               simulator's standard input is moved to 10, its row on the
#               disk; closing the dialog leaves the line quiet
#   doctor      总线诊断 at every speed on 5..7, where two controllers share
#               5: the port goes through the speeds and back to the window's
set -euo pipefail
scripts=$(dirname "$0")/../../scripts
case_name=$2
fail() { echo "FAIL: $*"; exit 1; }
requests() { grep -c ' <- ' "$SIM_LOG" || true; }
speed() { stty -F "$TARNEL_PORTS" speed; }

if [[ ${3:-} == wine ]]; then
  source "$scripts/wine_window.sh"
  start_wine_tarnel "$1" 5 5 7
  driver set 1007 "$COM" click 1019 box >/dev/null
  press() { xdotool mousemove $(driver in "$DIALOG" spot "$1") click 1; sleep 0.2; }
else
  source "$scripts/x_window.sh"
  HOME=$(mktemp -d)  # where Tarnel finds the documents
  start_tarnel_on_bus "$1" 5 5 7
  # Dialog units to pixels, as x_window.sh has them for the operator window.
  declare -A spot=([现场调试1102]="198 25" [现场调试1107]="51 85" [现场调试2]="492 364" [总线诊断1201]="100 25"
                   [总线诊断1202]="234 25" [总线诊断1203]="342 25" [总线诊断1107]="411 25" [总线诊断2]="477 364")
  press() { xdotool mousemove --window "$(wait_for_window "$DIALOG")" ${spot[$DIALOG$1]} click 1; sleep 0.2; }
fi
# Today's record, in the documents' Tarnel folder: for Wine without a
# Documents folder, the home folder is the documents.
records() { find "$HOME" -maxdepth 3 -path '*/Tarnel/*.csv' 2>/dev/null || true; }
records | xargs -r rm -f

case $case_name in
commission)
  DIALOG=现场调试
  open_window_menu_item 2
  sleep 1
  press 1102 && xdotool key End shift+Home type 10
  press 1107
  until grep -q ' <- 01 04 40 02' "$SIM_LOG"; do sleep 0.1; done  # waiting at the factory address
  sim_tell "add 1"
  for _ in $(seq 100); do
    record=$(records | head -1)
    [[ -n $record ]] && (($(wc -l <"$record") == 2)) && break
    sleep 0.1
  done
  [[ -n ${record:-} ]] || fail "no record among the documents"
  echo "record: $(tail -1 "$record")"
  [[ $(tail -1 "$record" | cut -d, -f2-6) == "10,9600,1,moved,not asked" ]] || fail "the row on the disk"
  press 2  # 关闭
  sleep 0.5
  before=$(requests)
  sleep 1
  (($(requests) == before)) || fail "the line was not left quiet"
  ;;
doctor)
  DIALOG=总线诊断
  open_window_menu_item 3
  sleep 1
  press 1201 && xdotool key Down Down  # 全部
  press 1202 && xdotool key End shift+Home type 5
  press 1203 && xdotool key End shift+Home type 7
  press 1107
  seen=""
  for _ in $(seq 300); do
    now=$(speed)
    [[ $now == "${seen##* }" ]] || seen="$seen $now"
    [[ $seen == *1200*9600 ]] && break
    sleep 0.1
  done
  echo "speeds:$seen"
  [[ $seen == *9600*19200*4800*2400*1200*9600 ]] || fail "the speeds in turn, then the window's"
  press 2
  ;;
*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac
echo "ok: $case_name"
