#!/usr/bin/env bash
# Installs the build into a staging prefix and checks the programs, the desktop entry, the icons
# and the model file types.
set -euo pipefail
build="$1"
stage="$2"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/mirrorknit bin/mirrorknit-cli share/applications/mirrorknit.desktop \
         share/mime/packages/mirrorknit-mime.xml share/icons/hicolor/scalable/apps/mirrorknit.svg; do
  [ -e "$stage/$f" ] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
  [ -s "$stage/share/icons/hicolor/${size}x${size}/apps/mirrorknit.png" ] || fail "icon ${size}px missing"
done
[ -x "$stage/bin/mirrorknit-cli" ] || fail "mirrorknit-cli is not executable"
"$stage/bin/mirrorknit-cli" --version | grep -q '^mirrorknit-cli ' || fail "the installed CLI does not run"
# The CLI's render command runs the drawing program from libexec.
[ -x "$stage/libexec/mirrorknit/mirrorknit-cli-render" ] || fail "the drawing program is not installed"
QT_QPA_PLATFORM=offscreen "$stage/bin/mirrorknit-cli" render "$(dirname "$0")/../../examples/ring.mdl" \
  -o "$stage/ring.png" --size 64x48 >"$stage/render.log" 2>&1 ||
  fail "the installed CLI does not render: $(cat "$stage/render.log")"
[ "$(head -c 4 "$stage/ring.png" | tail -c 3)" = "PNG" ] || fail "the installed CLI's picture is no PNG"

desktop-file-validate "$stage/share/applications/mirrorknit.desktop"
grep -q '^MimeType=application/x-animas-model;application/x-animas-segment;$' \
  "$stage/share/applications/mirrorknit.desktop" || fail "desktop entry lacks the model types"

update-mime-database "$stage/share/mime" >/dev/null 2>&1
grep -q 'application/x-animas-model:\*\.mdl' "$stage/share/mime/globs2" || fail ".mdl glob missing"
grep -q 'application/x-animas-segment:\*\.seg' "$stage/share/mime/globs2" || fail ".seg glob missing"
grep -q 'application/x-animas-model' "$stage/share/mime/magic" || fail "content match missing"
echo "staged install is complete"
