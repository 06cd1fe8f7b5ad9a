#!/usr/bin/env bash
# Installs the built Debian package with apt into a throwaway Debian 12 chroot (as root), starts
# the installed program from its desktop entry under Xvfb, checks that the main window appears
# with the window class the entry promises, then purges the package and checks that nothing of it
# is left. Not run by CI: it fetches a whole base system.
#   scripts/package-chroot-test.sh [path/to/zavenor_VERSION_ARCH.deb]
# The archive is the one this machine's apt uses; debootstrap's downloads are kept in
# /var/cache/zavenor-debootstrap for the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build-deb/zavenor_*.deb 2>/dev/null | head -n1)}
[ -f "$deb" ] || { echo "no package: run scripts/package.sh first" >&2; exit 2; }
command -v debootstrap >/dev/null || { apt-get update -q && apt-get install -y -q debootstrap; }

mirror=$(sed -n 's/^URIs: *\([^ ]*\/debian\)\/\?$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 ~ /^bookworm$/ {print $2; exit}' /etc/apt/sources.list)
cache=/var/cache/zavenor-debootstrap
mkdir -p "$cache"
jail=$(mktemp -d /var/tmp/zavenor-chroot.XXXXXX)
chmod 755 "$jail"   # its root: apt's and man's own users must get through it
cleanup() {
  umount "$jail/dev/pts" "$jail/proc" 2>/dev/null || true
  rm -rf --one-file-system "$jail"
}
trap cleanup EXIT
in_jail() { chroot "$jail" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  DEBIAN_FRONTEND=noninteractive "$@"; }
step() { echo "== $*"; }

step "debootstrap bookworm (minbase) from $mirror"
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$jail" "$mirror" > "$jail.log" 2>&1 ||
  { tail -n 20 "$jail.log"; exit 1; }
rm -f "$jail.log"
# The same suites as this machine (updates and security too), as the package was built here.
if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
  rm -f "$jail/etc/apt/sources.list"
  cp /etc/apt/sources.list.d/*.sources "$jail/etc/apt/sources.list.d/"
fi
[ -s /etc/apt/sources.list ] && cp /etc/apt/sources.list "$jail/etc/apt/sources.list"
mount -t proc proc "$jail/proc"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$jail/dev/pts" 2>/dev/null || true

step "tools of the test: Xvfb, xdotool, xprop, xwd"
in_jail apt-get update -q >/dev/null
in_jail apt-get upgrade -y -q >/dev/null
in_jail apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-utils x11-apps >/dev/null
# Everything present before the package, to compare with what is left after its purge.
snapshot() { (cd "$jail" && find . -xdev \( -path ./proc -o -path ./tmp -o -path ./var/cache \
  -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/log -o -path ./run \) -prune \
  -o -print | sort); }
before=$(snapshot)
packages_before=$(in_jail dpkg-query -W -f='${Package}\n' | sort)

step "apt-get install ./$(basename "$deb") (no recommends: the declared dependencies must do)"
cp "$deb" "$jail/tmp/"
in_jail apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" > "$jail/tmp/apt.log" 2>&1 ||
  { tail -n 30 "$jail/tmp/apt.log"; exit 1; }
grep -E '^(Setting up zavenor|[0-9]+ upgraded)' "$jail/tmp/apt.log"
in_jail dpkg -L zavenor | sed 's/^/   /'

step "start it as the desktop menu would, under Xvfb"
exec_line=$(sed -n 's/^Exec=//p' "$jail/usr/share/applications/example.morvath.zavenor.desktop")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$jail/usr/share/applications/example.morvath.zavenor.desktop")
# X servers listen on abstract sockets too, shared with this machine: take a display free here.
display=171
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
cat > "$jail/tmp/start.sh" <<SH
set -eu
export LANG=pt_BR.UTF-8 XDG_RUNTIME_DIR=/tmp/run DISPLAY=:$display HOME=/tmp/home
mkdir -p -m 700 \$XDG_RUNTIME_DIR \$HOME
Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >/tmp/xvfb.log 2>&1 & xvfb=\$!
for i in \$(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
$exec_line >/tmp/zavenor.log 2>&1 & app=\$!
win=\$(timeout 60 xdotool search --sync --onlyvisible --name '^Zavenor\$' | head -n1)
echo "window \$win: \$(xwininfo -id \$win | sed -n 's/.*-geometry //p')"
xprop -id \$win WM_CLASS _NET_WM_NAME
class=\$(printf '%b' "\$(xprop -id \$win WM_CLASS | sed 's/^[^"]*"[^"]*", "\\(.*\\)"\$/\\1/')")
if [ "\$class" = "$wm_class" ]; then echo "WM_CLASS matches StartupWMClass=$wm_class"
else echo "WM_CLASS \$class is not StartupWMClass=$wm_class"; exit 1; fi
xwd -id \$win -out /tmp/window.xwd
kill \$app; wait \$app 2>/dev/null || true
kill \$xvfb
echo "program's own output:"; sed 's/^/   /' /tmp/zavenor.log
SH
in_jail sh /tmp/start.sh
# The window as drawn with the chroot's own fonts, to look at.
cp "$jail/tmp/window.xwd" "${ZAVENOR_CHROOT_SHOT:-/tmp/zavenor-chroot-window.xwd}"

step "apt-get purge zavenor, then autoremove what it brought in"
files=$(in_jail dpkg -L zavenor)
in_jail apt-get purge -y -q zavenor 2>&1 | grep -E '^(Removing|Purging)'
in_jail apt-get autoremove --purge -y -q >/dev/null
left=$(for f in $files; do
  [ -e "$jail$f" ] && ! grep -qxF ".$f" <<<"$before" && echo "$f"; done || true)
named=$(cd "$jail" && find . -xdev -path ./proc -prune -o -iname '*zavenor*' -print | grep -v '^./tmp/' || true)
status=$(in_jail dpkg-query -W -f='${db:Status-Abbrev}' zavenor 2>/dev/null || true)
# apt keeps a package that now satisfies another's "a | b" dependency: its files are its own.
kept=$(comm -13 <(echo "$packages_before") <(in_jail dpkg-query -W -f='${Package}\n' | sort))
stray=$(diff <(echo "$before") <(snapshot) | sed -n 's/^> \.//p' | while read -r f; do
  in_jail dpkg-query -S "$f" >/dev/null 2>&1 || echo "$f"; done || true)
echo "package status after purge: '${status:-unknown to dpkg}'"
echo "files of the package left: ${left:-none}"
echo "paths named after it left: ${named:-none}"
echo "packages kept by apt (their own files): ${kept:-none}"
echo "files no package owns, new since before the install: ${stray:-none}"
if [ -n "$left$named$status$stray" ]; then
  echo "== chroot test FAILED"
  exit 1
fi
echo "== chroot test passed"
