#!/usr/bin/env bash
# Cross-builds mirrorknit-cli.exe (static, no DLLs) with mingw-w64 and checks under wine that it
# writes the Linux CLI's bytes: every example, every golden input and generated models of both
# formats. Installs the cross compiler and wine when missing, and skips with a line saying so
# when they cannot be had.
#   bash scripts/windows.sh [LINUX_BUILD] [GENERATED_MODELS]   (default build/release, 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="$(cd "${1:-$root/build/release}" && pwd)"
generated="${2:-20}"
cd "$root"

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null && sudo_cmd="sudo -n"
  if ! DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends \
      g++-mingw-w64-x86-64-posix wine wine64 >/dev/null 2>&1; then
    echo "windows: SKIPPED - mingw-w64 and wine are missing and could not be installed"
    exit 0
  fi
fi

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DMIRRORKNIT_BUILD_APP=OFF -DMIRRORKNIT_BUILD_TESTS=OFF -DMIRRORKNIT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target mirrorknit-cli -j2 >/dev/null
exe="$root/$build/cli/mirrorknit-cli.exe"

export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$root/$build/wineprefix}"
linux_cli="$linux_build/cli/mirrorknit-cli"
make_model="$linux_build/bench/make_model"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compared=0
differing=0
compare() {  # input: dock it with both programs, each in a folder of its own
  local input=$1 ext=${1##*.}
  mkdir -p "$work/linux" "$work/windows"
  (cd "$work/linux" && rm -f ./* && "$linux_cli" dock "$input" -o "docked.$ext" >stats.txt 2>&1 || true)
  (cd "$work/windows" && rm -f ./* && wine "$exe" dock "$input" -o "docked.$ext" 2>&1 |
    tr -d '\r' >stats.txt || true)
  compared=$((compared + 1))
  if ! diff -r "$work/linux" "$work/windows" >/dev/null; then
    differing=$((differing + 1))
    echo "windows: differs on $input"
  fi
}

for f in examples/*.mdl examples/*.seg tests/data/mdl/*/input.mdl tests/data/seg/*/input.seg; do
  compare "$root/$f"
done
for ext in mdl seg; do
  for seed in $(seq "$generated"); do
    "$make_model" $((500 + seed * 97)) "$work/model_$seed.$ext" "$seed" >/dev/null
    compare "$work/model_$seed.$ext"
  done
done
echo "windows: $compared inputs docked, $differing differ from the Linux CLI"
[ "$differing" -eq 0 ]
