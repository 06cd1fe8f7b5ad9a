#!/usr/bin/env bash
# Takes the pictures of saving as PDF and of the preview (print dialog, file dialog, preview of
# the DARF and of the three-page sample report) under a private Xvfb, at scale 1 and 2, and
# writes them to docs/ (the scale-2 pictures end in "-2x").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tst_rlpreview tst_pdfslips
source "$root/scripts/start-xvfb.sh"
export QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export ZAVENOR_SHOTS_DIR=$root/docs
mkdir -p "$ZAVENOR_SHOTS_DIR"
for scale in 1 2; do
  suffix=""
  [ "$scale" = 1 ] || suffix="-${scale}x"
  QT_SCALE_FACTOR=$scale ZAVENOR_SHOTS_SUFFIX=$suffix "$build/tests/tst_rlpreview" screenshots
  QT_SCALE_FACTOR=$scale ZAVENOR_SHOTS_SUFFIX=$suffix "$build/tests/tst_pdfslips" previewScreenshot
done
ls "$ZAVENOR_SHOTS_DIR"/{dialogo-impressao-pdf,dialogo-arquivo-pdf,previa-*}*.png
