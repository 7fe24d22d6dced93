#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (no error, no warning),
# installs it, checks that the programs and their manual pages are there and
# the desktop entry validates, and removes it again.
# usage: check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2

if ((EUID != 0)); then
  echo "installing a package needs root; skipped"
  exit 77
fi
if dpkg-query -W -f='${Status}' tarnel 2>/dev/null | grep -q 'install ok installed'; then
  echo "a tarnel package is installed already; not touching it"
  exit 77
fi

cd "$build"
rm -f tarnel_*.deb
cpack -G DEB >/dev/null
deb=$(ls tarnel_*.deb)
lintian --fail-on error,warning "$deb" 2>/dev/null || { echo "FAIL: lintian finds errors or warnings in $deb"; exit 1; }
trap 'dpkg -r tarnel >/dev/null 2>&1 || true' EXIT
# apt resolves the declared dependencies, as a technician's install would.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null

status=0
for program in tarnel tarnel-sim tarnel-link; do
  command -v "$program" >/dev/null || { echo "FAIL: $program is not on PATH"; status=1; }
done
for page in tarnel tarnel-link tarnel-sim; do
  [[ -f /usr/share/man/man1/$page.1.gz ]] || { echo "FAIL: no manual page for $page"; status=1; }
done
# The tools' Chinese comes from the installed catalogue, through glibc.
for tool in tarnel-link tarnel-sim; do
  man -L zh_CN -P cat "$tool" 2>/dev/null | grep -q '水浸绳' || { echo "FAIL: no Chinese manual page for $tool"; status=1; }
done
LANG=zh_CN.UTF-8 tarnel-link scan --help | grep -q '串口号' || { echo "FAIL: the installed tarnel-link speaks no Chinese"; status=1; }
desktop-file-validate /usr/share/applications/tarnel.desktop || status=1
for size in 16 32; do
  [[ -f /usr/share/icons/hicolor/${size}x${size}/apps/tarnel.png ]] || { echo "FAIL: no ${size}x${size} icon"; status=1; }
done
tarnel-sim --help | grep -q '^usage: tarnel-sim' || { echo "FAIL: the installed tarnel-sim does not run"; status=1; }
dpkg-deb -f "$deb" Version | grep -qxF "$version" || { echo "FAIL: package version"; status=1; }
((status == 0)) && echo "ok: $deb installs, its programs are on PATH and its desktop entry validates"
exit $status
