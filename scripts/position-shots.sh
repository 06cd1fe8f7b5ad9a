#!/usr/bin/env bash
# Takes the pictures of the position adjustment under a private Xvfb and writes them to docs/:
# the print dialog with its "Ajustar posição..." button, the adjustment dialog, and the test page
# of the data-only DARF as a private CUPS queue received it (96 dpi).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shots-setup.sh" tst_rlpositionadjust tst_positioncups
"$build/tests/tst_rlpositionadjust" screenshots
QT_QPA_PLATFORM=offscreen "$build/tests/tst_positioncups" testPagePicture
echo "written: docs/dialogo-impressao-ajuste.png docs/ajuste-posicao.png docs/pagina-teste-darf.png"
