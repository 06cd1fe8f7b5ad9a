#!/usr/bin/env bash
# Builds the Debian package of Zavenor into build-deb/ (or $DEB_BUILD_DIR) and prints its path.
# The program is compiled with Debian's own hardening flags, without tests or benchmarks.
#   scripts/package.sh            build the package
#   scripts/package.sh --install  build it and install it with apt (as root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DEB_BUILD_DIR:-$root/build-deb}
[ "${ZAVENOR_SKIP_DEPS:-}" = 1 ] || bash "$root/scripts/install-deps.sh" >&2

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DZAVENOR_TESTS=OFF -DZAVENOR_BENCH=OFF -DZAVENOR_FUZZ=OFF -DZAVENOR_SANITIZE=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $CPPFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >&2
cmake --build "$build" -j"$(nproc)" >&2
rm -f "$build"/zavenor_*.deb
(cd "$build" && cpack -G DEB) >&2
deb=$(ls "$build"/zavenor_*.deb)
if [ "${1:-}" = "--install" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >&2
fi
echo "$deb"
