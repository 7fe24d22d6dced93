#!/usr/bin/env bash
# Builds the optimised tree and prints every benchmark's numbers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
# Windows render off screen, so the numbers do not depend on a display.
export QT_QPA_PLATFORM=offscreen
for bench in build/default/bench/*_bench; do
  echo "== $(basename "$bench")"
  "$bench"
done
