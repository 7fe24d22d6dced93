#!/usr/bin/env bash
# Shows the operator window, a message box and the about box in a real X window (under
# Xvfb when there is no display) and saves a screenshot of each; then the
# Windows build's window and a message box, under Wine.
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

echo "Screenshots: $out/main-window.png $out/message-box.png $out/about-box.png"
echo "             $out/windows-main-window.png $out/windows-message-box.png"
echo "             $out/link-help-terminal.png $out/windows-link-help-console.png"
