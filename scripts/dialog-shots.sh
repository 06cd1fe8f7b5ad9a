#!/usr/bin/env bash
# Takes the pictures of the print dialog and of the progress window (one and three bars) under
# a private Xvfb and writes them to docs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shots-setup.sh" tst_rlfeedback tst_rlprintdialog tst_rlcupsjobs
"$build/tests/tst_rlfeedback" screenshots
"$build/tests/tst_rlprintdialog" screenshot
# Through a private cupsd; root for the small full folder it mounts.
"$build/tests/tst_rlcupsjobs" "foregroundOutcome:switched-off printer: the user cancels" \
  fullTemporaryFolder "frozenServer:printing" screenshots
echo "written: docs/dialogo-impressao.png docs/progresso-1-barra.png docs/progresso-3-barras.png"
echo "         docs/impressao-impressora-desligada.png docs/impressao-cups-nao-responde.png"
echo "         docs/impressao-pasta-temporaria-cheia.png"
