#!/usr/bin/env bash
# Start-up of tarnel-link --version in English and in Chinese, where glibc
# loads the catalogue and every help text is looked up in it. The two
# alternate, so that a busy moment of the machine weighs on both alike.
# usage: link_language_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
link=${1:-build/default}/tools/link/tarnel-link
runs=${2:-500}

LANG=zh_CN.UTF-8 "$link" --help | grep -q '用法' || { echo "the Chinese catalogue is not found" >&2; exit 1; }
start() {  # LANG: the microseconds one start takes
  local before=${EPOCHREALTIME/./}
  LANG=$1 LANGUAGE='' LC_ALL='' LC_MESSAGES='' "$link" --version >/dev/null
  echo $((${EPOCHREALTIME/./} - before))
}
for _ in $(seq "$runs"); do
  echo "C $(start C)"
  echo "zh $(start zh_CN.UTF-8)"
done | awk -v runs="$runs" '{ sum[$1] += $2 }
  END { printf "tarnel-link --version, mean of %d starts: English %.2f ms, Chinese %.2f ms, %.2f ms more\n",
        runs, sum["C"] / runs / 1000, sum["zh"] / runs / 1000, (sum["zh"] - sum["C"]) / runs / 1000 }'
