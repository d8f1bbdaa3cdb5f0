#!/usr/bin/env bash
# Installs the build as a package would (DESTDIR under /usr) and asks GIO, as a file manager
# does, which type each sample file has: models and segments by their headers, and none of the
# many text files that merely open with a bracketed line.
set -euo pipefail
build="$1"
stage="$2"
examples="$(cd "$(dirname "$0")/../../examples" && pwd)"

failures=0
fail() { echo "FAIL: $*"; exit 1; }
miss() { echo "FAIL: $*"; failures=$((failures + 1)); }
command -v gio >/dev/null || { echo "SKIP: gio (libglib2.0-bin) is not installed"; exit 0; }

rm -rf "$stage"
DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/root/usr/share"
update-mime-database "$share/mime" >/dev/null 2>&1

# The staged types first, the system's for text/plain and the rest; nothing from the user's own.
export XDG_DATA_DIRS="$share:/usr/local/share:/usr/share"
export XDG_DATA_HOME="$stage/home"
mkdir -p "$XDG_DATA_HOME"

samples="$stage/samples"
mkdir -p "$samples"
cd "$samples"
cp "$examples/seam.mdl" "$examples/ring.seg" .
# Without a name to go by, only the content can decide.
printf '[MODELFILE]\r\nProductVersion=5.0\r\n[OBJECTS]\r\n' >bracket-model
printf '[modelfile]\nProductVersion=5.0\n' >bracket-model-lower-case
printf '<MODELFILE>\r\n<POSEFILE>\r\n' >tagged-model
printf 'SCUL 1 0 5 0 0 0\r\n0\r\n' >segment
printf '[core]\n\trepositoryformatversion = 0\n\tbare = false\n' >gitconfig
printf '[General]\ntolerance=0.4\n' >settings.ini
printf '[Unit]\nDescription=service\n' >service.conf
printf '[MODELFILES]\nnot the header\n' >bracket-lookalike
printf 'SCUL is a word in this note\n' >segment-lookalike

type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
expect() {
  local file="$1" wanted="$2" got
  got="$(type_of "$file")"
  [ "$got" = "$wanted" ] || miss "$file is $got, expected $wanted"
}
refuse() {
  local file="$1" got
  got="$(type_of "$file")"
  case "$got" in
    application/x-animas-*) miss "$file is claimed as $got" ;;
  esac
}

expect seam.mdl application/x-animas-model
expect ring.seg application/x-animas-segment
expect bracket-model application/x-animas-model
expect bracket-model-lower-case application/x-animas-model
expect tagged-model application/x-animas-model
expect segment application/x-animas-segment
for other in gitconfig settings.ini service.conf bracket-lookalike segment-lookalike; do
  refuse "$other"
done
[ "$failures" -eq 0 ] || exit 1
echo "file types match on content"
