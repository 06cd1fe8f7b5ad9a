#!/usr/bin/env bash
# Takes the picture of a CNPJ whose check digits do not match, with its tooltip, under a private
# Xvfb (or the display in $DISPLAY) into docs/cnpj-digitos.png, with Brazilian regional settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake --build "$build" --target zavenor >/dev/null
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
# White behind the window: the tooltip reaches past its right edge.
[ -n "${DISPLAY:-}" ] || ZAVENOR_XVFB_ARGS=-wr source "$root/scripts/start-xvfb.sh"
mkdir -p "$root/docs"

"$build/app/zavenor" &
app=$!
trap 'kill $app 2>/dev/null; [ -z "${ZAVENOR_XVFB_PID:-}" ] || kill $ZAVENOR_XVFB_PID 2>/dev/null' EXIT
win=$(xdotool search --sync --onlyvisible --name '^Zavenor$' | head -n1)
sleep 0.5
# Field 03 of the DARF page: three Tabs from the name, past the memo and the period.
xdotool windowfocus --sync "$win" key Tab Tab Tab
sleep 0.2
xdotool type --delay 20 '11222333000180'
# Resting the pointer on the field brings up its tooltip.
read -r x y <<<"$(xdotool getwindowgeometry --shell "$win" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')"
xdotool mousemove $((x + 16 + 432 + 20)) $((y + 81 + 8 + 37 + 30))
sleep 0.3
xdotool mousemove_relative 2 0
sleep 1.5
import -window root -crop 960x475+"$x"+"$y" +repage "$root/docs/cnpj-digitos.png"
echo docs/cnpj-digitos.png
