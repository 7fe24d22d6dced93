#!/usr/bin/env bash
# Shows the operator window, a message box, the about box and the site
# dialogs at work in a real X window (under Xvfb when there is no display)
# and saves a screenshot of each; then the Windows build's, under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/x_window.sh

scripts/build.sh tarnel
start_x_if_needed || true

out=build/screenshots
mkdir -p "$out"
build/default/src/ui/tarnel &
tarnel_pid=$!
trap 'kill $tarnel_pid 2>/dev/null || true; [[ -n "${XVFB_PID:-}" ]] && kill $XVFB_PID 2>/dev/null || true' EXIT

WINDOW=$(wait_for_window Tarnel)
sleep 0.5
import -window "$WINDOW" "$out/main-window.png"

# A message box: search with no port open.
click "$SEARCH"
sleep 0.4
box=$(xdotool search --onlyvisible --name '^Tarnel$' | grep -vx "$WINDOW" | head -1)
import -window "$box" "$out/message-box.png"
xdotool key Return
sleep 0.3

open_about_box
about=$(wait_for_window "关于 Tarnel")
sleep 0.5
import -window "$about" "$out/about-box.png"
xdotool key Escape

# 现场调试 with a controller recorded and the next one's rope asked for, and
# 总线诊断 with its findings, on a simulated site; `press ID` clicks a
# control of the dialog DIALOG.
site_dialogs() {  # SCREENSHOT_PREFIX
  find "$HOME" -maxdepth 3 -path '*/Tarnel/*.csv' -delete
  sim_tell "add 1,wet"
  DIALOG=现场调试
  open_window_menu_item 2
  sleep 1
  press 1104
  press 1107
  sleep 4
  press 1110
  sleep 2
  sim_tell "add 1"
  sleep 2
  import -window "$(dialog_window)" "$out/${1}commissioning.png"
  press 1111
  sleep 0.5
  press 2
  DIALOG=总线诊断
  open_window_menu_item 3
  sleep 1
  press 1203 && xdotool key End shift+Home type 30
  press 1107
  sleep 16
  import -window "$(dialog_window)" "$out/${1}doctor.png"
  press 2
}

(
  declare -A spot=([现场调试1104]="384 25" [现场调试1107]="51 85" [现场调试1110]="64 166" [现场调试1111]="162 166"
                   [现场调试2]="492 364" [总线诊断1203]="342 25" [总线诊断1107]="411 25" [总线诊断2]="477 364")
  dialog_window() { wait_for_window "$DIALOG"; }
  press() { xdotool mousemove --window "$(dialog_window)" ${spot[$DIALOG$1]} click 1; sleep 0.2; }
  HOME=$(mktemp -d)
  kill $tarnel_pid
  start_tarnel_on_bus build/default 5 5 7 12,delay=300 20,short
  site_dialogs ""
)

# The Windows build, in a private Xvfb of its own.
scripts/build.sh windows_link
prefix=$PWD/build/default/wine-prefix
[[ -f $prefix/system.reg ]] || tests/windows/make_wine_prefix.sh /usr/lib/wine/wine64 "$prefix"
(
  source scripts/wine_window.sh
  start_wine_tarnel build/default 1
  sleep 1
  import -window "$WINDOW" "$out/windows-main-window.png"
  driver click 1003 >/dev/null
  sleep 1
  box=$(xdotool search --onlyvisible --name '^Tarnel$' | grep -vx "$WINDOW" | head -1)
  import -window "$box" "$out/windows-message-box.png"
  driver box >/dev/null
)
(
  source scripts/wine_window.sh
  start_wine_tarnel build/default 5 5 7 12,delay=300 20,short
  driver set 1007 "$COM" click 1019 box >/dev/null
  press() { xdotool mousemove $(driver in "$DIALOG" spot "$1") click 1; sleep 0.2; }
  # Wine names its windows in ways xdotool's search cannot match: the
  # dialog is the newest window.
  dialog_window() { xdotool search --onlyvisible --name '.' | tail -1; }
  site_dialogs "windows-"
)

# tarnel-link's help in Chinese: in a terminal, and in a Windows console
# under Wine (its console needs a face with Chinese characters).
LANG=zh_CN.UTF-8 xterm -fa 'AR PL UMing CN' -fs 8 -geometry 118x52 -bg white -fg black -T 'tarnel-link --help' \
  -e sh -c 'build/default/tools/link/tarnel-link --help; sleep 60' &
terminal=$(wait_for_window 'tarnel-link --help')
sleep 1.5
import -window "$terminal" "$out/link-help-terminal.png"
kill %% 2>/dev/null || true
(
  source scripts/wine_window.sh
  use_wine build/default
  wine_zh reg add 'HKCU\Console' /v FaceName /d 'AR PL UMing CN' /f >/dev/null
  wine_zh reg add 'HKCU\Console' /v WindowSize /t REG_DWORD /d $((52 << 16 | 120)) /f >/dev/null
  wine_zh wineconsole cmd /k "Z:$(realpath build/default/windows/tools/link/tarnel-link.exe | tr / '\\')" --help &
  console=$(wait_for_window 'C:\\windows\\system32\\cmd.exe')
  sleep 3
  import -window "$console" "$out/windows-link-help-console.png"
  wineserver -k
)

# The first printed page of a small site's handover report, in Chinese: two
# visits, a controller that failed on the first and one with its rope dry.
(
  site=$(mktemp -d)/B栋三层
  mkdir "$site"
  awk 'BEGIN {
    print "time,address,baud,from,outcome,calibration,response_ms"
    print "2026-12-07T09:02:00+08:00,12,9600,1,verify: no answer,not asked,"
    for (a = 10; a <= 40; a++) {
      if (a == 12) continue
      day = a < 26 ? "07" : "08"
      time = sprintf("2026-12-%sT%02d:%02d:00+08:00", day, 9 + int(a / 20), (a * 3) % 60)
      print time "," a ",9600,1,moved," (a == 17 ? "rope dry (value 0x0001),6" : a == 31 ? "skipped,5" : "calibrated,4")
    }
    print "2026-12-08T11:20:00+08:00,12,9600,1,moved,calibrated,5"
  }' >"$site/记录.csv"
  LANG=zh_CN.UTF-8 build/default/tools/link/tarnel-link report "$site/记录.csv" >/dev/null
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
    --no-first-run --user-data-dir="$site/profile" --no-pdf-header-footer --print-to-pdf="$site/report.pdf" \
    "$site/记录.html" 2>/dev/null
  pdftoppm -png -r 80 -singlefile -f 1 -l 1 "$site/report.pdf" "$out/handover-report"
)

echo "Screenshots: $out/main-window.png $out/message-box.png $out/about-box.png"
echo "             $out/commissioning.png $out/doctor.png"
echo "             $out/windows-main-window.png $out/windows-message-box.png"
echo "             $out/windows-commissioning.png $out/windows-doctor.png"
echo "             $out/link-help-terminal.png $out/windows-link-help-console.png"
echo "             $out/handover-report.png"
