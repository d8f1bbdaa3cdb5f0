#!/usr/bin/env bash
# Builds the WebAssembly page and mirrorknit-wasm into build/wasm (or the folder given) with
# Debian's emscripten. Exits with 3 and a line saying why when emscripten is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/wasm}"
if ! command -v emcmake >/dev/null; then
  echo "emscripten is not installed (Debian package emscripten)"
  exit 3
fi
# Debian's emscripten finds its JavaScript parser among Debian's node modules; a node from
# elsewhere does not look there by itself.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS=-fexceptions -DMIRRORKNIT_BUILD_APP=OFF -DMIRRORKNIT_BUILD_TESTS=ON \
  -DMIRRORKNIT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target mirrorknit-web mirrorknit-wasm-module -- -j"$(nproc)"
