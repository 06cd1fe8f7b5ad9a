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
json="${BUILD_DIR:-$root/build}/bench-startup.json"
hyperfine -N --warmup 5 --runs "${RUNS:-40}" --export-json "$json" \
  -n "janela mínima" "$bench --minimal" \
  -n "janela com dois rótulos" "$bench --two-labels" \
  -n "Zavenor" "$bench" "$@"
# Medians and user CPU, and Zavenor's ratios to both windows (awk in the C locale reads the
# JSON's decimal points).
LC_ALL=C awk -F': ' '
  /"command"/ { gsub(/[",]/, "", $2); name[++n] = $2 }
  /"median"/ { gsub(/,/, "", $2); median[n] = $2 * 1000 }
  /"user"/ { gsub(/,/, "", $2); user[n] = $2 * 1000 }
  END {
    for (i = 1; i <= n; ++i)
      printf "%-26s median %6.1f ms   user CPU %5.1f ms\n", name[i], median[i], user[i]
    printf "Zavenor / janela com dois rótulos: %.2f (user CPU %.2f)\n", median[3] / median[2], user[3] / user[2]
    printf "Zavenor / janela mínima:           %.2f (user CPU %.2f)\n", median[3] / median[1], user[3] / user[1]
  }' "$json"
