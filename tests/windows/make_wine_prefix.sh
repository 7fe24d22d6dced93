#!/usr/bin/env bash
# Makes the tests' Wine prefix: no Mono or Gecko (nothing needs them, and
# their installers would ask). Wine's windows stay managed (the default):
# unmanaged ones do not take xdotool's clicks. A page opens in the browser,
# as on every Windows (Wine hands it to the desktop's opener); without
# Gecko nothing else says so.
# usage: make_wine_prefix.sh WINE PREFIX
set -euo pipefail
export WINEPREFIX=$2 HOME=$2 WINEDEBUG=-all
WINEDLLOVERRIDES=mscoree,mshtml= "$1" wineboot --init
"$1" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null
"$1" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null
"$(dirname "$1")/wineserver" -w
