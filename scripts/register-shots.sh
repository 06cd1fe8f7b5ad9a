#!/usr/bin/env bash
# Takes the pictures of the register (the clients offered under the GARE's name field, the client
# window and "Guias emitidas") under a private Xvfb, at scale 1 and 2, into docs/ (the scale-2
# pictures end in "-2x").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/shots-setup.sh" tst_clientregister
for scale in 1 2; do
  suffix=""
  [ "$scale" = 1 ] || suffix="-${scale}x"
  # The history shows what the other test functions recorded first.
  QT_SCALE_FACTOR=$scale ZAVENOR_SHOTS_SUFFIX=$suffix "$build/tests/tst_clientregister" \
    printsAreRecorded copiesIntoANewSlip screenshots
done
ls "$ZAVENOR_SHOTS_DIR"/{cadastro-*,guias-emitidas}*.png
