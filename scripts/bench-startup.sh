#!/usr/bin/env bash
# Start-up benchmark under a private Xvfb: process start to the first paint of the main
# window against two windows of the same size, a bare one and one with a label in Arial and
# one in Times New Roman (hyperfine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVENOR_BENCH=ON
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY
source "$root/scripts/start-xvfb.sh"
bench="${BUILD_DIR:-$root/build}/bench/bench_startup"
hyperfine -N --warmup 5 --runs "${RUNS:-40}" \
  -n "janela mínima" "$bench --minimal" \
  -n "janela com dois rótulos" "$bench --two-labels" \
  -n "Zavenor" "$bench" "$@"
