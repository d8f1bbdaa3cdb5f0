#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the release build, then the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/check_layers.sh
bash scripts/build.sh release
ctest --preset release -j"$(nproc)"
# The Debian package, checked by lintian and its contents.
bash scripts/package_deb.sh build/release >/dev/null

bash scripts/build.sh debug-asan
ctest --preset debug-asan -j"$(nproc)"

# A minute of fuzzing per target; any crash, hang, leak or sanitizer report fails the run.
bash scripts/fuzz.sh 60
