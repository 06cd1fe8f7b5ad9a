#!/usr/bin/env bash
# Takes the pictures of the print dialog and of the progress window (one and three bars) under
# a private Xvfb and writes them to docs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tst_rlfeedback tst_rlprintdialog tst_rlcupsjobs
source "$root/scripts/start-xvfb.sh"
export QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export ZAVENOR_SHOTS_DIR=$root/docs
mkdir -p "$ZAVENOR_SHOTS_DIR"
"$build/tests/tst_rlfeedback" screenshots
"$build/tests/tst_rlprintdialog" screenshot
# Through a private cupsd; root for the small full folder it mounts.
"$build/tests/tst_rlcupsjobs" "foregroundOutcome:switched-off printer: the user cancels" \
  fullTemporaryFolder "frozenServer:printing" screenshots
echo "written: docs/dialogo-impressao.png docs/progresso-1-barra.png docs/progresso-3-barras.png"
echo "         docs/impressao-impressora-desligada.png docs/impressao-cups-nao-responde.png"
echo "         docs/impressao-pasta-temporaria-cheia.png"
