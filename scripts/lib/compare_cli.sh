#!/usr/bin/env bash
# Runs another build of the command line (mirrorknit-wasm, or mirrorknit-cli.exe through wine)
# beside the Linux mirrorknit-cli on every example, golden case, bad input and COUNT generated
# models of each format, with dock and roundtrip: the files written, attach_err.txt, the lines
# printed and the exit status must all be the same.
#   bash scripts/lib/compare_cli.sh MIRRORKNIT_CLI OTHER_PROGRAM [MAKE_MODEL [COUNT]]
# OTHER_NAME names the other program in the summary line (default: its file name).
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
native="$(realpath "$1")"
other="$(realpath "$2")"
other_name="${OTHER_NAME:-$(basename "$other")}"
make_model="${3:-}"
count="${4:-100}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

compared=0
differing=0

# Runs one program's command in a folder of its own; everything it leaves there is compared.
run() {  # folder program args...
  local folder="$1"
  shift
  mkdir -p "$folder"
  (cd "$folder" && "$@" >stdout.txt 2>stderr.txt; echo "$?" >status.txt)
}

compare() {  # label command input
  local label="$1" command="$2" input="$3" ext="${3##*.}"
  local args=("$command" "$input" -o "out.$ext")
  run "$work/native" "$native" "${args[@]}"
  run "$work/other" "$other" "${args[@]}"
  compared=$((compared + 1))
  if ! diff -r "$work/native" "$work/other" >"$work/diff.txt"; then
    differing=$((differing + 1))
    echo "DIFFERENT: $label ($command)"
    head -20 "$work/diff.txt"
  fi
  rm -rf "$work/native" "$work/other"
}

inputs=("$root"/examples/*.mdl "$root"/examples/*.seg "$root"/tests/data/mdl/*/input.mdl
        "$root"/tests/data/seg/*/input.seg)
for f in "$root"/tests/data/bad/*; do
  case "$f" in *.mdl | *.seg) inputs+=("$f") ;; esac
done
for input in "${inputs[@]}"; do
  for command in dock roundtrip; do compare "${input#"$root"/}" "$command" "$input"; done
done

generated=0
if [ -n "$make_model" ]; then
  mkdir -p "$work/models"
  for ((seed = 1; seed <= count; seed++)); do
    for ext in mdl seg; do
      model="$work/models/model$seed.$ext"
      "$make_model" $((200 + seed * 37)) "$model" "$seed" >/dev/null
      compare "generated model $seed.$ext" dock "$model"
      generated=$((generated + 1))
      rm -f "$model"
    done
  done
fi

echo "$other_name against mirrorknit-cli: $compared runs ($((${#inputs[@]} * 2)) on" \
     "${#inputs[@]} examples, golden cases and bad inputs; $generated generated models docked)," \
     "$differing different"
[ "$differing" -eq 0 ]
