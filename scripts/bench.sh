#!/usr/bin/env bash
# Builds the optimised tree and prints every benchmark's numbers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
# A benchmark that fails is said, and the rest still run.
failed() { echo "== $1 did not run to its end (status $2)"; }
for bench in build/default/bench/*_bench; do
  echo "== $(basename "$bench")"
  # Windows render off screen, so the numbers do not depend on a display.
  QT_QPA_PLATFORM=offscreen "$bench" || failed "$(basename "$bench")" $?
done
# Real clicks need a real X window (a private Xvfb).
for bench in bench/*_bench.sh; do
  echo "== $(basename "$bench")"
  "$bench" build/default || failed "$(basename "$bench")" $?
done
echo "== scan_clicks_bench.sh under Wine"
bench/scan_clicks_bench.sh build/default 8 wine || failed "scan_clicks_bench.sh under Wine" $?
# As the zip and the installer carry it: stripped.
shipped=$(mktemp)
x86_64-w64-mingw32-strip -o "$shipped" build/default/windows/src/ui/tarnel.exe
echo "== tarnel.exe as shipped: $(($(stat -c %s "$shipped") / 1024)) KiB (target < 400)"
rm "$shipped"
echo "== fuzzing, ${TARNEL_FUZZ_RUNS:-10000000} executions a target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  found=$(mktemp -d)
  start=$(date +%s.%N)
  "$target" -runs="${TARNEL_FUZZ_RUNS:-10000000}" -max_len=256 -print_final_stats=1 "$found" "tests/fuzz/corpus/$name" 2>&1 |
    awk -v name="$name" -v start="$start" \
      '/number_of_executed_units/ {"date +%s.%N" | getline now; s = now - start
         printf "%-18s %12d executions in %5.0f s, %9.0f a second\n", name, $2, s, $2 / s}
       /ERROR|deadly signal|crash-|leak-|timeout-/ {print}'
  rm -rf "$found"
done
