#!/usr/bin/env bash
# Takes the README's pictures of the program on a virtual display: the window at its default
# size with the report panel open on examples/seam.mdl, and the Japanese interface with Qt's
# own Save As dialog in Japanese.
#   bash scripts/screenshots.sh [BUILD]     (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
program="$build/app/mirrorknit"
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
export XDG_CONFIG_HOME="$settings"  # the default size, not the size last used

shoot() {  # output language keys...
  local output=$1 language=$2
  shift 2
  LANG="$language" LC_ALL="$language" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$0" examples/seam.mdl & pid=$!
    sleep 4
    for key in "$@"; do xdotool key "$key"; sleep 2; done
    xwd -root -silent | convert xwd:- -crop 1100x760+90+20 +repage "$1"
    kill $pid' "$program" "$output" "$@"
}

shoot docs/screenshot-report.png C.UTF-8
shoot docs/screenshot-japanese.png ja_JP.UTF-8 ctrl+shift+s
echo "docs/screenshot-report.png docs/screenshot-japanese.png"
