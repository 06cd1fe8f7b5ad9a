#!/usr/bin/env bash
# Sourced by the picture scripts that drive test programs: builds the given targets, starts a
# private Xvfb, sets Brazilian regional settings and points ZAVENOR_SHOTS_DIR at docs/.
#   source "$root/scripts/shots-setup.sh" target...
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target "$@"
source "$root/scripts/start-xvfb.sh"
export QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export ZAVENOR_SHOTS_DIR=$root/docs
mkdir -p "$ZAVENOR_SHOTS_DIR"
