#!/usr/bin/env bash
# Installs everything the build, the program and the tests need on Debian 12 (as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
pkgs=(qt6-base-dev libqt6printsupport6 cmake g++ make ninja-build
      cups cups-client cups-bsd printer-driver-cups-pdf
      xvfb xdotool x11-utils x11-apps xauth
      fonts-liberation2 locales poppler-utils imagemagick hyperfine libcups2-dev
      qt6-translations-l10n clang libclang-rt-14-dev
      qt6-svg-dev dpkg-dev file libcsv-dev libfontconfig-dev
      libqt6sql6-sqlite libqt6sql6-psql postgresql)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# Brazilian glibc locale: the code must not depend on it, but users have it.
if ! locale -a 2>/dev/null | grep -qi '^pt_BR.utf8$'; then
  sed -i 's/^# *pt_BR.UTF-8 UTF-8/pt_BR.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^pt_BR.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
