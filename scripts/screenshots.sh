#!/usr/bin/env bash
# Takes the README's pictures of the program on a virtual display: the window at its default
# size with the report panel open on examples/seam.mdl, and the Japanese interface with Qt's
# own Save As dialog in Japanese.
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
cp examples/seam.mdl "$settings/models/"
pictures="$(pwd)/docs"

shoot() {  # output language [xdotool commands...]
  local output=$1 language=$2
  shift 2
  LANG="$language" LC_ALL="$language" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    program=$0 output=$1
    shift
    "$program" seam.mdl & pid=$!
    sleep 4
    if [ $# -gt 0 ]; then xdotool "$@"; sleep 5; fi
    import -window root -crop 1000x650+140+75 +repage "$output"
    kill $pid' "$program" "$output" "$@"
}

cd "$settings/models"
shoot "$pictures/screenshot-report.png" C.UTF-8
# Save As by its button: without a window manager no window has the keyboard.
shoot "$pictures/screenshot-japanese.png" ja_JP.UTF-8 mousemove 208 117 click 1
echo "docs/screenshot-report.png docs/screenshot-japanese.png"
