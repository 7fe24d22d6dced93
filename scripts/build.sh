#!/usr/bin/env bash
# Installs what is missing and builds the optimised tree; given target
# names, only those.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default ${1:+--target "$@"}
