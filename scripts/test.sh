#!/usr/bin/env bash
# Sets up (as root on Debian 12), builds and runs every test with Brazilian regional settings.
#   scripts/test.sh            normal build in build/
#   scripts/test.sh --sanitize AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

cmake_args=()
export BUILD_DIR=${BUILD_DIR:-$root/build}
if [ "${1:-}" = "--sanitize" ]; then
  export BUILD_DIR=$root/build-asan
  cmake_args+=(-DZAVENOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DZAVENOR_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
fi
bash "$root/scripts/build.sh" "${cmake_args[@]}"

export LANG=pt_BR.UTF-8 LC_ALL=pt_BR.UTF-8 LANGUAGE=pt_BR
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
