# Sourced by the scripts that need an X display: starts Xvfb when there is
# no display, and stops it again on exit.
start_x_if_needed() {
  if [[ -n "${DISPLAY:-}" ]]; then
    return 1
  fi
  local number=99
  while [[ -e /tmp/.X${number}-lock ]]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  exit 1
}

# Waits until a window with this exact title is mapped and prints its id.
wait_for_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window titled $1" >&2
  return 1
}
