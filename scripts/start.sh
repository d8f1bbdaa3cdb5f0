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
# Without a display the window would run unseen: take a picture of it on the example instead.
picture="$(pwd)/build/mirrorknit-start.png"
QT_QPA_PLATFORM=offscreen "$program" --screenshot "$picture" "$example"
echo "No display found: a picture of the program on $example is in $picture"
