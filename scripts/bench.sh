#!/usr/bin/env bash
# Builds the optimised tree and prints every benchmark's numbers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
for bench in build/default/bench/*_bench; do
  echo "== $(basename "$bench")"
  # Windows render off screen, so the numbers do not depend on a display.
  QT_QPA_PLATFORM=offscreen "$bench"
done
# Real clicks need a real X window (a private Xvfb).
for bench in bench/*_bench.sh; do
  echo "== $(basename "$bench")"
  "$bench" build/default
done
echo "== scan_clicks_bench.sh under Wine"
bench/scan_clicks_bench.sh build/default 8 wine
