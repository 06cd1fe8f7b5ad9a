#!/usr/bin/env bash
# Takes the pictures of the position adjustment under a private Xvfb and writes them to docs/:
# the print dialog with its "Ajustar posição..." button, the adjustment dialog, and the test page
# of the data-only DARF as a private CUPS queue received it (96 dpi).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tst_rlpositionadjust tst_positioncups
source "$root/scripts/start-xvfb.sh"
export QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export ZAVENOR_SHOTS_DIR=$root/docs
mkdir -p "$ZAVENOR_SHOTS_DIR"
"$build/tests/tst_rlpositionadjust" screenshots
QT_QPA_PLATFORM=offscreen "$build/tests/tst_positioncups" testPagePicture
echo "written: docs/dialogo-impressao-ajuste.png docs/ajuste-posicao.png docs/pagina-teste-darf.png"
