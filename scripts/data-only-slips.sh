#!/usr/bin/env bash
# Prints both data-only slips with typical data: replayed from their recorded pages, and through a
# private CUPS queue into PDFs rendered at 150 dpi; the pictures go to docs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
build=${BUILD_DIR:-$root/build}
pdfs=$(mktemp -d)
trap 'rm -rf "$pdfs"' EXIT
mkdir -p "$root/docs"
ZAVENOR_SLIPS_PNG_DIR="$root/docs" "$build/tests/tst_dataonlyslips" -silent
ZAVENOR_SLIPS_PDF_DIR="$pdfs" "$build/tests/tst_printslips" -silent darfPrints gareDateGroupsPrintCentred
pdftoppm -r 150 -png -singlefile "$pdfs/darfPrints.pdf" "$root/docs/dados-darf-cups"
pdftoppm -r 150 -png -singlefile "$pdfs/gareDateGroupsPrintCentred.pdf" "$root/docs/dados-gare-cups"
echo "written: docs/dados-darf.png docs/dados-gare.png docs/dados-darf-cups.png docs/dados-gare-cups.png"
