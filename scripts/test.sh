#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the release build, then the build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh release
ctest --preset release -j"$(nproc)"

bash scripts/build.sh debug-asan
ctest --preset debug-asan -j"$(nproc)"
