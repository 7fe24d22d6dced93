#!/usr/bin/env bash
# Installs every Debian package Tarnel needs to build, run and test.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # the window: Qt 6 Widgets and a Song face for the Chinese texts
  qt6-base-dev fonts-arphic-uming
  # Qt's own texts (standard buttons, edit menus) in Simplified Chinese
  qt6-translations-l10n
  # a display where there is none, screenshots, scripted clicks
  xvfb x11-utils imagemagick xdotool
  # the tools in a terminal, for their screenshots
  xterm
  # command lines; JSON
  libcli11-dev nlohmann-json3-dev
  # tests and benchmarks; the fuzz targets (libFuzzer comes with clang)
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # third-party Modbus peer for the serial tests
  libmodbus-dev
  # the Windows build of the link, and Wine to run it
  g++-mingw-w64-x86-64 wine64
  # the Windows zip and installer; reading resources back from Windows
  # executables; checking the desktop entry
  nsis zip unzip
  icoutils desktop-file-utils
  # building the Debian package
  dpkg-dev file help2man lintian
  # the terminal tools' Chinese: the catalogue's tools, the locale, the pages
  gettext locales man-db
  # the handover report printed by a real browser, and the PDF read back
  chromium poppler-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
as_root=()
((EUID == 0)) || as_root=(sudo)
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# glibc translates only in a locale that exists: the tests read the tools in
# Chinese.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "Making the locale zh_CN.UTF-8"
  "${as_root[@]}" sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${as_root[@]}" locale-gen >/dev/null
fi
