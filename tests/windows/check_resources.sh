#!/usr/bin/env bash
# Reads Tarnel's Windows resources back from a cross-built executable with
# wrestool: everything in language 0x0804, the icon's two images, the
# about-menu string, the version block and the manifest.
# usage: check_resources.sh EXE
set -euo pipefail
exe=$1
status=0
fail() { echo "FAIL: $*"; status=1; }
hex() { od -An -v -tx1 | tr -d ' \n'; }
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | hex; }
has() { [[ $1 == *"$2"* ]]; }  # TEXT PART

list=$(wrestool -l "$exe")
grep -v -- '--language=2052' <<<"$list" && fail "resources outside language 0x0804"
has "$list" "--type=14 --name=128 " || fail "no icon 128"
has "$list" "size=744]" || fail "no 32x32 16-colour icon image"
has "$list" "size=296]" || fail "no 16x16 16-colour icon image"
has "$(wrestool -x --raw --type=6 "$exe" | hex)" "$(utf16 '关于 Tarnel(&A)...')" || fail "no about-menu string"

version=$(wrestool -x --raw --type=16 "$exe" | hex)
# Signature, structure version, file and product version 1.0.0.1, flags mask
# and flags, 32-bit Windows, an application, no subtype.
fixed=(bd04effe 00000100 00000100 01000000 00000100 01000000 3f000000 00000000 04000000 01000000 00000000)
has "$version" "$(printf %s "${fixed[@]}")" || fail "the fixed version part"
for text in 080404b0 "1, 0, 0, 1" Tarnel.EXE "Tarnel 应用程序"; do
  has "$version" "$(utf16 "$text")" || fail "no \"$text\" in the version block"
done
has "$version" "$(utf16 Translation)000000000408b004" || fail "translation is not 0x0804 with code page 1200"
manifest=$(wrestool -x --raw --type=24 "$exe" | tr -d '\r')
for part in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'level="asInvoker"' '>true</dpiAware>'; do
  has "$manifest" "$part" || fail "the manifest lacks $part"
done
((status == 0)) && echo "ok: the resources are in place"
exit $status
