#!/usr/bin/env bash
# Sourced by the scripts that need a display: starts Xvfb on a free display number, exports
# DISPLAY and stops the server when the calling script exits. An argument sets the screen's
# size (default 1024x768x24).
start_xvfb() {
  local n=90 screen=${1:-1024x768x24}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "Xvfb did not start" >&2
  return 1
}
