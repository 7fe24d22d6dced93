#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite,
# once optimised and once under AddressSanitizer + UBSan, then fuzzes each
# parser briefly.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in default asan fuzz; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
