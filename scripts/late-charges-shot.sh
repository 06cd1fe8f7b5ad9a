#!/usr/bin/env bash
# Takes the picture of "Calcular acréscimos..." for the README's worked example (principal
# 1.234,56 due 31/01/2024, paid 15/04/2025) into docs/acrescimos-darf.png, and of "Tabela
# Selic..." just after a month was added into docs/tabela-selic.png, under a private Xvfb with
# Brazilian regional settings and an office Selic table of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake --build "$build" --target zavenor >/dev/null
export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
XDG_DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME
[ -n "${DISPLAY:-}" ] || ZAVENOR_XVFB_ARGS=-wr source "$root/scripts/start-xvfb.sh"
mkdir -p "$root/docs"

"$build/app/zavenor" &
app=$!
trap 'kill $app 2>/dev/null; rm -rf "$XDG_DATA_HOME"; [ -z "${ZAVENOR_XVFB_PID:-}" ] || kill $ZAVENOR_XVFB_PID 2>/dev/null' EXIT
win=$(xdotool search --sync --onlyvisible --name '^Zavenor$' | head -n1)
sleep 0.5
# From the name: memo, period, 03, 04, 05, then 06 the due date and 07 the principal.
xdotool windowfocus --sync "$win" key Tab Tab Tab Tab Tab Tab
sleep 0.2
xdotool type --delay 20 '31012024'
xdotool key Tab
xdotool type --delay 20 '1234,56'
xdotool key Tab
sleep 0.2
# The tools button's accelerator opens its menu; the command's own accelerator picks it.
xdotool key alt+e
sleep 0.3
xdotool key a
dialog=$(xdotool search --sync --onlyvisible --name 'Calcular acréscimos' | head -n1)
sleep 0.3
xdotool type --delay 20 '15042025'
sleep 0.5
import -window "$dialog" "$root/docs/acrescimos-darf.png"
echo docs/acrescimos-darf.png
xdotool key Escape
sleep 0.3
# The table opens on the month after the last known, the rate field ready.
xdotool windowfocus --sync "$win" key alt+e
sleep 0.3
xdotool key s
table=$(xdotool search --sync --onlyvisible --name '^Tabela Selic$' | head -n1)
sleep 0.3
xdotool type --delay 20 '1,14'
xdotool key alt+g
sleep 0.5
import -window "$table" "$root/docs/tabela-selic.png"
echo docs/tabela-selic.png
