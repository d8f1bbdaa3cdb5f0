#!/usr/bin/env bash
# Sets up, builds, and starts the program on an example half model.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh release
example="${1:-examples/ring.mdl}"
program=build/release/app/mirrorknit
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$example"
fi
echo "No display found: starting the program on a virtual display for 10 seconds."
timeout 10 xvfb-run -a "$program" "$example" || true
