#!/usr/bin/env bash
# Runs a Windows program of the build under Wine on a private X display,
# with its output's lines freed of Windows' CRs; exits as the program does.
# usage: run_under_x.sh BUILD_DIR PROGRAM [ARG...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine_window.sh"
use_wine "$1"
program=$2
shift 2
unset DISPLAY
start_x_if_needed || true
wineserver -w
status=0
wine_zh "$WINDOWS_BUILD/$program" "$@" | tr -d '\r' || status=${PIPESTATUS[0]}
wineserver -w
exit "$status"
