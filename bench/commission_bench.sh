#!/usr/bin/env bash
# tarnel-link commission at 9600 baud with its default timings, on a
# simulated bus where a new controller at address 1 is connected every 2 s:
# for each, the time from its first answer at 1 to its row on the disk
# (target < 0.5 s), and the record's rows at the end (30 of 30, no gap).
#
# usage: commission_bench.sh [BUILD_DIR] [CONTROLLERS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
count=${2:-30}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
seconds_of_day() { awk -F: '{ printf "%.3f\n", $1 * 3600 + $2 * 60 + $3 }'; }

mkfifo "$work/connect"
# In English: the connections are counted by the simulator's words.
LC_ALL=C "$build/tools/sim/tarnel-sim" 200 <"$work/connect" >"$work/sim.log" &
exec 3>"$work/connect"
until grep -q '^TARNEL_PORTS=' "$work/sim.log"; do sleep 0.05; done
port=$(sed -n 's/^TARNEL_PORTS=//p' "$work/sim.log")
"$build/tools/link/tarnel-link" commission -p "$port" --factory 1 --first 10 --count "$count" \
  --record "$work/site.csv" >"$work/link.log" &
link=$!
until [[ -s $work/site.csv ]]; do sleep 0.01; done

latencies=()
for i in $(seq "$count"); do
  started=$EPOCHREALTIME
  echo "add 1" >&3
  until (($(wc -l <"$work/site.csv") > i)); do sleep 0.002; done
  landed=$(date +%H:%M:%S.%N | seconds_of_day)
  # The simulator's first answer at 1 after this connection.
  answered=$(awk -v n="$i" '/^added controller/ { seen++ } seen == n && / -> 01 04 02/ { print $1; exit }' \
    "$work/sim.log" | seconds_of_day)
  latencies+=("$(awk "BEGIN { printf \"%.0f\", ($landed - $answered) * 1000 }")")
  sleep "$(awk "BEGIN { d = 2 - ($EPOCHREALTIME - $started); print (d > 0 ? d : 0) }")"
done
wait "$link" && status=0 || status=$?

sorted=$(printf '%s\n' "${latencies[@]}" | sort -n)
echo "first answer at the factory address to the row on disk, ms: median $(sed -n "$(((count + 1) / 2))p" <<<"$sorted"), max $(tail -1 <<<"$sorted") (target < 500)"
rows=$(tail -n +2 "$work/site.csv" | cut -d, -f2 | tr '\n' ' ')
expected=$(seq 10 $((10 + count - 1)) | tr '\n' ' ')
echo "record: $(($(wc -l <"$work/site.csv") - 1)) rows of $count, addresses $([[ $rows == "$expected" ]] && echo "10..$((10 + count - 1)) without a gap" || echo "GAP: $rows"), exit $status"
