#!/usr/bin/env bash
# CI: builds the Debian package and checks it: its name and fields, its exact list of files,
# the desktop entry and AppStream metadata, the window class the desktop entry promises, and
# lintian's verdict (no error; warnings are shown).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive
bash "$root/scripts/install-deps.sh"
tools=(lintian desktop-file-utils appstream)
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    { apt-get update -q && apt-get install -y -q --no-install-recommends "${tools[@]}"; break; }
done

deb=$(ZAVENOR_SKIP_DEPS=1 bash "$root/scripts/package.sh")
failed=0
check() { # name, then a command that must succeed
  local name=$1; shift
  if "$@"; then echo "ok    $name"; else echo "FAIL  $name"; failed=$((failed + 1)); fi
}

version=$(sed -n 's/^project(Zavenor VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
check "file name zavenor_${version}_${arch}.deb" test "$(basename "$deb")" = "zavenor_${version}_${arch}.deb"
check "control fields" test "$(dpkg-deb -f "$deb" Package Version Architecture | tr '\n' ' ')" = \
  "Package: zavenor Version: $version Architecture: $arch "
depends=$(dpkg-deb -f "$deb" Depends)
has_dep() { [[ ", $depends," == *", $1"[\ ,]* ]]; }
for dep in fonts-liberation2 qt6-translations-l10n qt6-qpa-plugins libcups2 libcsv3 libqt6sql6-sqlite; do
  check "depends on $dep" has_dep "$dep"
done
# Every library the program links against comes from a package it depends on.
bin_tree=$(mktemp -d)
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$bin_tree" ./usr/bin/zavenor
# Read whole, never cut short: a reader leaving early kills the writer with SIGPIPE, which
# pipefail turns into a silent exit of this script.
libraries=$(ldconfig -p)
for soname in $(readelf -dW "$bin_tree/usr/bin/zavenor" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(awk -v s="$soname" '$1 == s && /x86-64|x32|64bit|AArch64/ && !found {print $NF; found = 1}' <<<"$libraries")
  owners=$( (dpkg -S "$path" || dpkg -S "$(readlink -f "$path")") 2>/dev/null || true)
  owner=$(awk -F: 'NR == 1 {print $1}' <<<"$owners")
  check "depends on $owner (for $soname)" has_dep "$owner"
done
rm -rf "$bin_tree"

expected=$(cat <<'LIST'
./usr/bin/zavenor
./usr/share/applications/example.morvath.zavenor.desktop
./usr/share/doc/zavenor/changelog.gz
./usr/share/doc/zavenor/copyright
./usr/share/icons/hicolor/128x128/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/16x16/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/22x22/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/24x24/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/256x256/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/32x32/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/48x48/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/64x64/apps/example.morvath.zavenor.png
./usr/share/icons/hicolor/scalable/apps/example.morvath.zavenor.svg
./usr/share/man/man1/zavenor.1.gz
./usr/share/man/pt_BR/man1/zavenor.1.gz
./usr/share/metainfo/example.morvath.zavenor.metainfo.xml
LIST
)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
check "exactly the expected files" diff <(echo "$expected") <(echo "$files")
check "directories only under /usr" test -z "$(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ {print $6}' | grep -v '^\./usr/\?' | grep -v '^\./$')"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop=$tree/usr/share/applications/example.morvath.zavenor.desktop
check "desktop-file-validate" desktop-file-validate "$desktop"
icon_sizes_match() {
  local png dir
  for png in "$tree"/usr/share/icons/hicolor/*x*/apps/*.png; do
    dir=$(basename "$(dirname "$(dirname "$png")")")
    [ "$(identify -format '%wx%h' "$png")" = "$dir" ] || { echo "$png is not $dir"; return 1; }
  done
}
check "each PNG icon has its folder's size" icon_sizes_match
check "appstreamcli validate" appstreamcli validate --no-net "$tree/usr/share/metainfo/example.morvath.zavenor.metainfo.xml"

# The window class the desktop promises is the one the packaged program's window reports.
window_class() {
  export XDG_RUNTIME_DIR=$tree/run QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY
  source "$root/scripts/start-xvfb.sh"
  "$tree/usr/bin/zavenor" & local app=$!
  local win
  win=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zavenor$' | awk 'NR == 1')
  # xprop shows the bytes beyond ASCII as octal escapes.
  printf '%b\n' "$(xprop -id "$win" WM_CLASS | sed 's/^[^"]*"[^"]*", "\(.*\)"$/\1/')"
  kill "$app" "$ZAVENOR_XVFB_PID"
}
wm_class=$(window_class)
check "StartupWMClass is the window's class ($wm_class)" \
  grep -qxF "StartupWMClass=$wm_class" "$desktop"

# Lintian itself failing counts as a failure too, not as a clean verdict.
lintian_ok=true
lintian_out=$(lintian --fail-on none --display-info "$deb" 2>/dev/null) || lintian_ok=false
echo "lintian:"; echo "${lintian_out:-(no tags)}" | sed 's/^/  /'
check "lintian ran" $lintian_ok
check "lintian reports no error" test -z "$(echo "$lintian_out" | grep '^E:' || true)"

echo "package checks: $failed failed"
[ "$failed" -eq 0 ]
