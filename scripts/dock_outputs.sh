#!/usr/bin/env bash
# Writes everything a build makes of the examples, the golden inputs and two seeded generated
# models into OUT: docked files, attach_err.txt, statistics lines, warnings and pictures.
# Two builds' folders compared with `diff -r` show whether a change kept every byte.
#   bash scripts/dock_outputs.sh build/release OUT [POINTS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
points="${3:-1000000}"
cli="$build/cli/mirrorknit-cli"
make_model="$build/bench/make_model"

run_case() {  # name input
  local name=$1 input=$2 ext=${2##*.}
  local dir="$out/$name"
  mkdir -p "$dir"
  (cd "$dir" && "$cli" dock "$input" -o "docked.$ext" > stats.txt 2> stderr.txt || echo "exit $?" >> stats.txt)
  if [ -x "$cli" ] && "$cli" --help 2>&1 | grep -q render; then
    for view in front left top; do
      (cd "$dir" && "$cli" render "$input" -o "$view.png" --view "$view" --size 320x240 --ids \
        > /dev/null 2>&1 || true)
    done
  fi
}

for f in "$root"/examples/*.mdl "$root"/examples/*.seg; do
  run_case "examples_$(basename "$f")" "$f"
done
for f in "$root"/tests/data/mdl/*/input.mdl "$root"/tests/data/seg/*/input.seg; do
  run_case "golden_$(basename "$(dirname "$f")")_${f##*.}" "$f"
done
mkdir -p "$out/generated"
for ext in mdl seg; do
  "$make_model" "$points" "$out/generated/model.$ext" 11 > /dev/null
  run_case "generated_$ext" "$out/generated/model.$ext"
done
rm -rf "$out/generated"
