# Sourced by the scripts that run Tarnel on a simulated bus.

# Starts tarnel-sim with the given controllers and makes its bus port 1
# (exports TARNEL_PORTS). Sets SIM_PID and SIM_LOG, its traffic trace;
# sim_tell gives it a line on its standard input ("add 1").
# TARNEL_BUILD names the build tree (default: build/default).
start_simulated_bus() {
  SIM_LOG=$(mktemp)
  local input
  input=$(mktemp -u)
  mkfifo "$input"
  "${TARNEL_BUILD:-build/default}/tools/sim/tarnel-sim" "$@" <"$input" >"$SIM_LOG" &
  SIM_PID=$!
  exec 7>"$input"
  rm -f "$input"
  for _ in $(seq 50); do
    grep -q '^TARNEL_PORTS=' "$SIM_LOG" && break
    sleep 0.1
  done
  export "$(grep '^TARNEL_PORTS=' "$SIM_LOG")"
}

sim_tell() {  # LINE
  echo "$1" >&7
}
