#!/usr/bin/env bash
# Prints the report engine's demonstration layouts and renders them (Brazilian settings,
# offscreen): the one-page layout to docs/report-demo.png, the data report over several pages to
# docs/relatorio-dados-1.png, -2.png...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
mkdir -p "$root/docs"
rm -f "$root"/docs/relatorio-dados-*.png
ZAVENOR_DEMO_PNG="$root/docs/report-demo.png" ZAVENOR_DATA_PNG="$root/docs/relatorio-dados" \
    "${BUILD_DIR:-$root/build}/tests/tst_rlreportdemo" -silent
echo "written: docs/report-demo.png and" $(cd "$root" && ls docs/relatorio-dados-*.png)
