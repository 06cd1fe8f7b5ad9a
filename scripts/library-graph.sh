#!/usr/bin/env bash
# Draws the libraries and what each links (CMake's graph of the build) into docs/libraries.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v dot >/dev/null || apt-get install -y -q --no-install-recommends graphviz >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Only our own libraries and the program: tests, benches and Qt's targets would hide the layers.
mkdir -p "$out/build"
cat > "$out/build/CMakeGraphVizOptions.cmake" <<'EOC'
set(GRAPHVIZ_EXECUTABLES TRUE)
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^tst_" "^bench_" "^fuzz_" "^redraw" "^painter" "^zavenor_resources" "^zavenor_picture_pixels" "^zavenor_painter$" "^zavenor_pictures$" "^tsan_")
EOC
cmake -S "$root" -B "$out/build" -G Ninja -DZAVENOR_TESTS=OFF -DZAVENOR_BENCH=OFF \
  --graphviz="$out/libraries.dot" >/dev/null
# CMake draws a legend of every kind of target; ours are static libraries and one program.
sed '/subgraph clusterLegend/,/^}/d' "$out/libraries.dot" | dot -Tpng -Gdpi=96 -o "$root/docs/libraries.png"
