# Sourced by the scripts that need an X display: starts Xvfb when there is
# no display, and stops it again on exit.
start_x_if_needed() {
  if [[ -n "${DISPLAY:-}" ]]; then
    return 1
  fi
  # Xvfb picks a free display itself and writes its number once it takes
  # connections: no race with another server that is still going away.
  local ready
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    [[ -s "$ready" ]] && break
    sleep 0.05
  done
  if [[ ! -s "$ready" ]]; then
    echo "Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$(<"$ready")"
  rm -f "$ready"
}

# Waits (up to 30 s, or $2 s: a first Wine start in a new prefix is slow)
# until a window with this exact title is mapped, and prints its id.
wait_for_window() {
  local id
  for _ in $(seq $((${2:-30} * 10))); do
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
