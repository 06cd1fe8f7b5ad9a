#!/usr/bin/env bash
# Prints the report engine's demonstration layout through the site pass and renders the page
# to docs/report-demo.png (Brazilian settings, offscreen).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
mkdir -p "$root/docs"
ZAVENOR_DEMO_PNG="$root/docs/report-demo.png" "${BUILD_DIR:-$root/build}/tests/tst_rlreportdemo" -silent
echo "written: docs/report-demo.png"
