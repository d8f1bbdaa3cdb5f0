#!/usr/bin/env bash
# Cross-builds mirrorknit-cli.exe (static, no DLLs) and the core's tests with mingw-w64 and runs
# them under wine: the tests; then the .exe beside the Linux mirrorknit-cli on every example,
# golden case, bad input and generated models of both formats; then a model with a Japanese
# name, in a Windows whose code page cannot spell it. Installs the cross compiler and wine when
# missing, and skips with a line saying so when they cannot be had.
#   bash scripts/windows.sh [LINUX_BUILD] [GENERATED_MODELS]   (default build/release, 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="$(cd "${1:-$root/build/release}" && pwd)"
generated="${2:-5}"
cd "$root"

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null && sudo_cmd="sudo -n"
  if ! DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends \
      g++-mingw-w64-x86-64-posix wine wine64 >/dev/null 2>&1; then
    echo "SKIP: the Windows tests: mingw-w64 and wine are missing and could not be installed"
    exit 0
  fi
fi

build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DMIRRORKNIT_BUILD_APP=OFF -DMIRRORKNIT_BUILD_TESTS=ON -DMIRRORKNIT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >"$build/build.log" || { cat "$build/build.log"; exit 1; }
exe="$root/$build/cli/mirrorknit-cli.exe"

# A wine of its own, made on first use, in English: its code page (1252) has no Japanese.
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$root/$build/wineprefix}"
export LC_ALL=C.UTF-8 LANG=en_US.UTF-8
# Its making must be over before two programs start at once, or one of them may fail to start.
wineboot --init >/dev/null 2>&1 || true
wineserver -w

echo "== the core's tests under wine"
# A program that wine failed to start (no output at all, seen once in a new prefix) gets one
# more try; a test that fails fails both times.
(cd "$build" && ctest --output-on-failure --repeat until-pass:2 -j"$(nproc)")
grep -hE '^\[  (PASSED  |SKIPPED )\] [0-9]+ test' "$build/Testing/Temporary/LastTest.log" |
  awk '/PASSED/ { passed += $4 } /SKIPPED/ { skipped += $4 }
       END { print "windows: " passed " tests passed, " skipped " skipped (each with its reason)" }'

echo "== mirrorknit-cli.exe against mirrorknit-cli"
wrapper="$root/$build/mirrorknit-cli-wine"
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$exe" >"$wrapper"
chmod +x "$wrapper"
OTHER_NAME="mirrorknit-cli.exe under wine" bash scripts/lib/compare_cli.sh \
  "$linux_build/cli/mirrorknit-cli" "$wrapper" "$linux_build/bench/make_model" "$generated"

echo "== a model named in Japanese"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/半分" "$work/linux"
cp examples/seam.mdl "$work/半分/モデル.mdl"
(cd "$work/linux" && "$linux_build/cli/mirrorknit-cli" dock ../半分/モデル.mdl -o 全体.mdl >/dev/null)
(cd "$work/半分" && wine "$exe" dock モデル.mdl -o 全体.mdl >/dev/null &&
  wine "$exe" dock --in-place モデル.mdl >/dev/null)
cmp "$work/linux/全体.mdl" "$work/半分/全体.mdl"
cmp "$work/半分/全体.mdl" "$work/半分/モデル.mdl"
cmp examples/seam.mdl "$work/半分/モデル.mdl.bak"
echo "windows: dock モデル.mdl -o 全体.mdl and dock --in-place モデル.mdl write the Linux bytes"
