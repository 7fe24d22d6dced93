#!/usr/bin/env bash
# The handover report of a 250-controller record, in Chinese, printed to PDF
# by a real browser (Chromium, headless): the PDF's text holds every
# address, the title and the totals; its pages are A4, about 40 rows each;
# and the page asks nothing of the network (the browser's own services,
# which no page starts, aside).
#
# usage: print_report.sh BUILD_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/hall-b"
record=$work/hall-b/site.csv
# Every 37th failed, every 23rd with its rope dry: 6 failed, 10 dry.
awk 'BEGIN {
  print "time,address,baud,from,outcome,calibration,response_ms"
  for (a = 1; a <= 250; a++) {
    time = sprintf("2026-12-07T%02d:%02d:00+01:00", 9 + int(a / 60), a % 60)
    if (a % 37 == 0) print time "," a ",9600,1,verify: no answer,not asked,"
    else if (a % 23 == 0) print time "," a ",9600,1,moved,rope dry (value 0x0001),5"
    else print time "," a ",9600,1,moved,calibrated,4"
  }
}' >"$record"
LANG=zh_CN.UTF-8 "$1/tools/link/tarnel-link" report "$record"

chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$work/profile" --no-pdf-header-footer \
  --log-net-log="$work/net.json" --print-to-pdf="$work/site.pdf" "$work/hall-b/site.html" 2>/dev/null

status=0
fail() { echo "FAIL: $*"; status=1; }
text=$(pdftotext -layout "$work/site.pdf" - | tr -s ' ')
for a in $(seq 250); do
  grep -qE "^ ?(! )?$a 1 9600 " <<<"$text" || fail "address $a is not in the PDF"
done
grep -q '现场调试交接报告' <<<"$text" || fail "no title"
grep -q '^ \?250 244 6 234 10 6$' <<<"$text" || fail "no totals: $(grep -A2 '合计' <<<"$text")"
info=$(pdfinfo "$work/site.pdf")
pages=$(sed -n 's/^Pages: *//p' <<<"$info")
grep -q '^Page size:.*(A4)' <<<"$info" || fail "not A4: $(grep 'Page size' <<<"$info")"
((pages >= 6 && pages <= 8)) || fail "$pages pages for 250 rows"
# A request a page starts has the page's origin as its initiator.
requests=$(grep -o '"initiator":"[^"]*"' "$work/net.json" | grep -v '"not an origin"' || true)
[[ -z $requests ]] || fail "the page made requests: $requests"
((status == 0)) && echo "ok: 250 rows on $pages A4 pages"
exit $status
