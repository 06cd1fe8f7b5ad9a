#!/usr/bin/env bash
# Soak of the Print command (not run by CI): prints N slips (default 1000) in a row through a
# private CUPS scheduler and records, after every print, RSS, descriptors, threads, temporary files
# and jobs not completed (build/soak.csv); plots RSS against the print number (docs/soak-rss.png).
#   bash bench/soak.sh [prints]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
prints=${1:-1000}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target bench_soak
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$build/bench/bench_soak" "$prints" "$build/soak.csv" "$root/docs/soak-rss.png" 2> >(grep -v propagateSizeHints >&2)
