#!/usr/bin/env bash
# Installs what is missing, builds, and starts the controller simulator with
# three controllers on one simulated bus. Stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tarnel-sim
exec build/default/tools/sim/tarnel-sim 5 17,wet 200 "$@"
