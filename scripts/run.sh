#!/usr/bin/env bash
# Sets up (as root on Debian 12), builds and starts Zavenor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  echo "Nenhuma tela gráfica encontrada (DISPLAY); iniciando o Zavenor sob Xvfb."
  source "$root/scripts/start-xvfb.sh"
  echo "Xvfb em $DISPLAY — veja a janela com, por exemplo: import -display $DISPLAY -window root tela.png"
fi
# Not exec: the shell must outlive the program to stop a private Xvfb afterwards.
"${BUILD_DIR:-$root/build}/app/zavenor"
