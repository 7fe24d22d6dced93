#!/usr/bin/env bash
# Makes the Windows packages with cpack in the cross build and checks them:
# the portable zip holds the two programs and the read-me; the installer,
# run silently in a fresh Wine prefix, puts them and a Start-menu shortcut
# in place, Tarnel then starts, and the silent uninstall leaves nothing.
# usage: check_packages.sh BUILD_DIR
set -euo pipefail
tests=$(dirname "$(realpath "$0")")
source "$tests/../../scripts/wine_window.sh"
use_wine "$1"
status=0
fail() { echo "FAIL: $*"; status=1; }

cd "$WINDOWS_BUILD"
rm -f Tarnel-*.zip Tarnel-*.exe
cpack >/dev/null
[[ $(unzip -Z1 Tarnel-*.zip | sort | tr '\n' ' ') == "README.txt tarnel-link.exe tarnel.exe " ]] ||
  fail "the zip holds $(unzip -Z1 Tarnel-*.zip | tr '\n' ' ')"

WINEPREFIX=$(mktemp -d)/prefix
HOME=$WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; kill ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
"$tests/make_wine_prefix.sh" "$(command -v wine64)" "$WINEPREFIX"
program="$WINEPREFIX/drive_c/Program Files/Tarnel"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnel/Tarnel.lnk"

wine_zh Tarnel-*.exe /S
wineserver -w
for file in tarnel.exe tarnel-link.exe README.txt Uninstall.exe; do
  [[ -f "$program/$file" ]] || fail "not installed: $file"
done
[[ -f "$shortcut" ]] || fail "no Start-menu shortcut"

unset DISPLAY
start_x_if_needed
wine_zh "$program/tarnel.exe" &
wait_for_window Tarnel >/dev/null || fail "the installed Tarnel does not start"
wineserver -k
wineserver -w

wine_zh "$program/Uninstall.exe" /S
wineserver -w
[[ ! -e "$program" ]] || fail "left behind: $(ls "$program")"
[[ ! -e "$(dirname "$shortcut")" ]] || fail "the Start-menu folder is left behind"
! wine64 reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnel' >/dev/null 2>&1 ||
  fail "the uninstall entry is left behind"
((status == 0)) && echo "ok: the zip, the installer and the uninstaller"
exit $status
