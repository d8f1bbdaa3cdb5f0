#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the release build, the Windows build
# under wine and the WebAssembly build (both against the release build's bytes), then the build
# with AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
step() { echo "== $1, at $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"; }
step "set-up"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/check_layers.sh
step "the release build"
bash scripts/build.sh release
ctest --preset release -j"$(nproc)"
# The Debian package, checked by lintian and its contents.
bash scripts/package_deb.sh build/release >/dev/null

step "the Windows build under wine"
bash scripts/windows.sh build/release
step "the WebAssembly build and the page"
bash scripts/test_web.sh build/release

# The core, the command line and their tests under the sanitizers, built by clang (the release
# build is GCC's, so both compilers see the code); the desktop program's tests ran above.
step "the sanitizer build"
bash scripts/build.sh debug-asan
ctest --preset debug-asan -j"$(nproc)"

# Twenty seconds of fuzzing per target (scripts/fuzz.sh 600 for a long run); any crash, hang,
# leak or sanitizer report fails the run.
step "fuzzing"
bash scripts/fuzz.sh 20
step "done"
