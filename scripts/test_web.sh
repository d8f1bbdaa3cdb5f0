#!/usr/bin/env bash
# The WebAssembly build against a native release build: mirrorknit-wasm must write the CLI's
# bytes on every example, golden case, bad input and generated model, and the page in headless
# chromium the CLI's docked files, counts and markers. Skips, with a line saying why, only what
# a missing tool stops.
#   bash scripts/test_web.sh [NATIVE_BUILD [WASM_BUILD]]   (default build/release build/wasm)
set -euo pipefail
cd "$(dirname "$0")/.."
native="$(realpath "${1:-build/release}")"
wasm="${2:-build/wasm}"
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

status=0
bash scripts/build_wasm.sh "$wasm" >"$wasm.log" 2>&1 || status=$?
if [ "$status" -eq 3 ]; then
  echo "SKIP: the WebAssembly tests: $(tail -n 1 "$wasm.log")"
  exit 0
elif [ "$status" -ne 0 ]; then
  cat "$wasm.log"
  exit "$status"
fi

make_model="$native/bench/make_model"
[ -x "$make_model" ] || make_model=""
bash scripts/lib/compare_cli.sh "$native/cli/mirrorknit-cli" "$wasm/web/mirrorknit-wasm" \
  $make_model ${make_model:+10}

# The core's tests of numbers and of the segment format, whose reals need 80 bits, under node.
if ! cmake --build "$wasm" --target test_util test_seg -- -j"$(nproc)" >"$wasm/tests.log" 2>&1; then
  cat "$wasm/tests.log"
  exit 1
fi
for suite in test_util test_seg; do
  node "$wasm/tests/$suite.js" --gtest_brief=1 | sed "s/^/$suite under node: /"
done

browser="${CHROMIUM:-/usr/bin/chromium}"
if [ ! -x "$browser" ]; then
  echo "SKIP: the page's test: chromium is not installed (Debian package chromium)"
  exit 0
fi
if ! command -v npm >/dev/null; then
  echo "SKIP: the page's test: npm is not installed"
  exit 0
fi
(cd web && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
CHROMIUM="$browser" node web/tests/page_test.js "$wasm/web/page" "$native/cli/mirrorknit-cli" "$PWD" \
  ${PAGE_SCREENSHOT:+"$PAGE_SCREENSHOT"}
