#!/usr/bin/env bash
# Takes the pictures of saving as PDF and of the preview (print dialog, file dialog, preview of
# the DARF and of the three-page sample report) under a private Xvfb, at scale 1 and 2, and
# writes them to docs/ (the scale-2 pictures end in "-2x").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shots-setup.sh" tst_rlpreview tst_pdfslips
for scale in 1 2; do
  suffix=""
  [ "$scale" = 1 ] || suffix="-${scale}x"
  QT_SCALE_FACTOR=$scale ZAVENOR_SHOTS_SUFFIX=$suffix "$build/tests/tst_rlpreview" screenshots
  QT_SCALE_FACTOR=$scale ZAVENOR_SHOTS_SUFFIX=$suffix "$build/tests/tst_pdfslips" previewScreenshot
done
ls "$ZAVENOR_SHOTS_DIR"/{dialogo-impressao-pdf,dialogo-arquivo-pdf,previa-*}*.png
