#!/usr/bin/env bash
# Prints the full-layout DARF and GARE with typical data in colour and in black and white through
# the report's site pass, replays the stored pages at 96 dpi and writes docs/darf-colorido.png,
# docs/darf-preto-e-branco.png, docs/gare-colorido.png and docs/gare-preto-e-branco.png
# (Brazilian settings, offscreen).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tst_darflayout tst_garelayout
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
mkdir -p "$root/docs"
ZAVENOR_DARF_PNG_DIR="$root/docs" "$build/tests/tst_darflayout" -silent printedPageColours
ZAVENOR_GARE_PNG_DIR="$root/docs" "$build/tests/tst_garelayout" -silent printedPage
echo "written: docs/darf-colorido.png docs/darf-preto-e-branco.png docs/gare-colorido.png docs/gare-preto-e-branco.png"
