#!/usr/bin/env bash
# Takes the README's pictures of the program on a virtual display: the window at its default
# size on examples/ring.mdl, the same with the report panel open on examples/seam.mdl, and the
# Japanese interface with Qt's own Save As dialog in Japanese.
#   bash scripts/screenshots.sh [BUILD]     (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
program="$build/app/mirrorknit"
program="$(cd "$(dirname "$program")" && pwd)/mirrorknit"
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
export XDG_CONFIG_HOME="$settings"  # the default size, not the size last used
# The status line names the model's path: a neutral folder rather than this checkout's.
mkdir -p "$settings/models"
cp examples/seam.mdl examples/ring.mdl "$settings/models/"
pictures="$(pwd)/docs"

shoot() {  # output language model [xdotool commands...]
  local output=$1 language=$2 model=$3
  shift 3
  LANG="$language" LC_ALL="$language" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    program=$0 output=$1 model=$2
    shift 2
    "$program" "$model" & pid=$!
    sleep 4
    if [ $# -gt 0 ]; then xdotool "$@"; sleep 5; fi
    import -window root -crop 1000x650+140+75 +repage "$output"
    kill $pid' "$program" "$output" "$model" "$@"
}

cd "$settings/models"
shoot "$pictures/screenshot.png" C.UTF-8 ring.mdl
shoot "$pictures/screenshot-report.png" C.UTF-8 seam.mdl
# Save As by its button: without a window manager no window has the keyboard.
shoot "$pictures/screenshot-japanese.png" ja_JP.UTF-8 seam.mdl mousemove 208 117 click 1
echo "docs/screenshot.png docs/screenshot-report.png docs/screenshot-japanese.png"
