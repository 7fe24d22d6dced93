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
echo "== fuzzing, ${TARNEL_FUZZ_SECONDS:-600} s a target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  found=$(mktemp -d)
  "$target" -max_total_time="${TARNEL_FUZZ_SECONDS:-600}" -max_len=256 -print_final_stats=1 "$found" "tests/fuzz/corpus/$name" 2>&1 |
    awk -v name="$name" -v seconds="${TARNEL_FUZZ_SECONDS:-600}" \
      '/number_of_executed_units/ {printf "%-18s %12d executions, %9.0f a second\n", name, $2, $2 / seconds}
       /ERROR|deadly signal|Test unit written/ {print}'
  rm -rf "$found"
done
