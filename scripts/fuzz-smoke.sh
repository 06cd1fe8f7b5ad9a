#!/usr/bin/env bash
# Builds the page fuzzer with clang into build-fuzz/ (engine and fuzzer only) and runs it briefly
# on the seed corpus. FUZZ_SECONDS sets the length (default 60); new inputs go to a scratch folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DZAVENOR_FUZZ=ON -DZAVENOR_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target fuzz_metafile

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/xdg"
chmod 700 "$work/xdg"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/xdg
# Fontconfig keeps its caches until exit; they are not ours.
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp
cd "$work"
"$build/fuzz/fuzz_metafile" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=4096 \
  -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$root/fuzz/corpus" 2>&1 | grep -v '^#' | tail -8
