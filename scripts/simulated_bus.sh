# Sourced by the scripts that run Tarnel on a simulated bus.

# Starts tarnel-sim with the given controllers and makes its bus port 1
# (exports TARNEL_PORTS). Sets SIM_PID and SIM_LOG, its traffic trace.
# TARNEL_BUILD names the build tree (default: build/default).
start_simulated_bus() {
  SIM_LOG=$(mktemp)
  "${TARNEL_BUILD:-build/default}/tools/sim/tarnel-sim" "$@" >"$SIM_LOG" &
  SIM_PID=$!
  for _ in $(seq 50); do
    grep -q '^TARNEL_PORTS=' "$SIM_LOG" && break
    sleep 0.1
  done
  export "$(grep '^TARNEL_PORTS=' "$SIM_LOG")"
}
