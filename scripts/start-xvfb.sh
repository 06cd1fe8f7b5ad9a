#!/usr/bin/env bash
# Sourced: starts a private Xvfb on a free display and exports DISPLAY (stopped with the shell).
# ZAVENOR_XVFB_ARGS adds options (-wr: a white root window behind pictures wider than a window).
for n in $(seq 99 140); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp ${ZAVENOR_XVFB_ARGS:-} >/dev/null 2>&1 &
  ZAVENOR_XVFB_PID=$!
  for _ in $(seq 1 100); do
    DISPLAY=:$n xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
  done
  export DISPLAY=:$n
  trap 'kill $ZAVENOR_XVFB_PID 2>/dev/null' EXIT
  break
done
