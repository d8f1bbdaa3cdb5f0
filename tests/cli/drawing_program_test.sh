#!/usr/bin/env bash
# mirrorknit-cli without Qt: it loads none of Qt's libraries, its render command gives the
# drawing program's picture byte for byte, and without the drawing program it says so and fails.
#   bash drawing_program_test.sh CLI_FOLDER EXAMPLES_FOLDER
set -euo pipefail
cli_folder="$1"
examples="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export QT_QPA_PLATFORM=offscreen

needed=$(readelf -d "$cli_folder/mirrorknit-cli")
grep -q NEEDED <<< "$needed" || fail "readelf shows no libraries of mirrorknit-cli"
if grep NEEDED <<< "$needed" | grep -i qt; then fail "mirrorknit-cli links Qt"; fi

"$cli_folder/mirrorknit-cli" render "$examples/car.seg" -o "$work/through.png" --view left --ids \
  --size 300x200 > "$work/through.out" 2> "$work/through.err"
"$cli_folder/mirrorknit-cli-render" render "$examples/car.seg" -o "$work/direct.png" --view left \
  --ids --size 300x200 > "$work/direct.out" 2> "$work/direct.err"
cmp "$work/through.png" "$work/direct.png" || fail "the pictures differ"
cmp "$work/through.out" "$work/direct.out" || fail "the outputs differ"

# Errors come back with the drawing program's message and exit code.
status=0
"$cli_folder/mirrorknit-cli" render "$work/missing.mdl" -o "$work/x.png" 2> "$work/missing.err" || status=$?
[ "$status" = 1 ] || fail "a missing input gave exit $status"
grep -q 'missing.mdl' "$work/missing.err" || fail "no message for the missing input"

mkdir "$work/alone"
cp "$cli_folder/mirrorknit-cli" "$work/alone/"
status=0
"$work/alone/mirrorknit-cli" render "$examples/car.seg" -o "$work/alone.png" 2> "$work/alone.err" || status=$?
[ "$status" = 1 ] || fail "without the drawing program render gave exit $status"
grep -q 'needs the drawing program mirrorknit-cli-render' "$work/alone.err" || fail "no message without the drawing program"
[ ! -e "$work/alone.png" ] || fail "a picture appeared without the drawing program"

# The installed layout: bin/mirrorknit-cli finds libexec/mirrorknit/mirrorknit-cli-render.
mkdir -p "$work/prefix/bin" "$work/prefix/libexec/mirrorknit"
cp "$cli_folder/mirrorknit-cli" "$work/prefix/bin/"
cp "$cli_folder/mirrorknit-cli-render" "$work/prefix/libexec/mirrorknit/"
"$work/prefix/bin/mirrorknit-cli" render "$examples/car.seg" -o "$work/installed.png" --view left \
  --ids --size 300x200 > /dev/null 2>&1 || fail "the installed layout does not render"
cmp "$work/installed.png" "$work/direct.png" || fail "the installed layout draws another picture"

# A drawing program that cannot be run is reported with its reason.
chmod -x "$work/prefix/libexec/mirrorknit/mirrorknit-cli-render"
status=0
"$work/prefix/bin/mirrorknit-cli" render "$examples/car.seg" -o "$work/denied.png" 2> "$work/denied.err" || status=$?
[ "$status" = 1 ] || fail "a drawing program that cannot run gave exit $status"
grep -q 'Permission denied' "$work/denied.err" || fail "no reason for the drawing program that cannot run"
echo "render through the drawing program works"
