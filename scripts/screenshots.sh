#!/usr/bin/env bash
# Takes pictures of the main window's two pages under a private Xvfb into docs/
# (docs/tela-darf.png, docs/tela-gare.png), with Brazilian regional settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY
source "$root/scripts/start-xvfb.sh"
mkdir -p "$root/docs"

"${BUILD_DIR:-$root/build}/app/zavenor" &
app=$!
trap 'kill $app 2>/dev/null; kill $ZAVENOR_XVFB_PID 2>/dev/null' EXIT
win=$(xdotool search --sync --onlyvisible --name '^Zavenor$' | head -n1)
sleep 0.5
import -window "$win" "$root/docs/tela-darf.png"
# Ctrl+Tab brings the next page to the front.
xdotool windowfocus --sync "$win" key ctrl+Tab
sleep 0.5
import -window "$win" "$root/docs/tela-gare.png"
echo "docs/tela-darf.png docs/tela-gare.png"
