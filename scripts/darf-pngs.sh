#!/usr/bin/env bash
# Prints the full-layout DARF with typical data in colour and in black and white through the
# report's site pass, replays the stored pages at 96 dpi and writes docs/darf-colorido.png and
# docs/darf-preto-e-branco.png (Brazilian settings, offscreen).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tst_darflayout
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
mkdir -p "$root/docs"
ZAVENOR_DARF_PNG_DIR="$root/docs" "$build/tests/tst_darflayout" -silent printedPageColours
echo "written: docs/darf-colorido.png docs/darf-preto-e-branco.png"
