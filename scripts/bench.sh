#!/usr/bin/env bash
# Times mirrorknit-cli on generated models (release build) and prints a Markdown table:
# plain round trip and docking, file to file, best of five runs, with the dock's peak memory, and
# for comparison the round trip of the docked file, which writes as much as the dock does.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release >/dev/null
cli=$PWD/build/release/cli/mirrorknit-cli
make_model=$PWD/build/release/bench/make_model
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

best_of_five() {  # prints the best wall time in seconds of the command
  local best=""
  for _ in 1 2 3 4 5; do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}

peak_mb() {  # peak resident memory of the command in MiB
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f", $1 / 1024}'
}

echo "| format | points | file MiB | round trip s | dock s | dock / round trip | dock peak MiB | peak / file | round trip of the docked file s |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
for ext in mdl seg; do
  for n in 10000 100000 1000000; do
    "$make_model" "$n" "model.$ext" 7
    size=$(stat -c %s "model.$ext")
    mib=$(echo "$size / 1048576" | bc -l)
    rt=$(best_of_five "$cli" roundtrip "model.$ext" -o "out.$ext")
    dock=$(best_of_five "$cli" dock "model.$ext" -o "out.$ext")
    peak=$(peak_mb "$cli" dock "model.$ext" -o "out.$ext")
    docked_rt=$(best_of_five "$cli" roundtrip "out.$ext" -o "again.$ext")
    printf '| %s | %d | %.1f | %s | %s | %.2f | %s | %.1f | %s |\n' "$ext" "$n" "$mib" "$rt" "$dock" \
      "$(echo "$dock / $rt" | bc -l)" "$peak" "$(echo "$peak / $mib" | bc -l)" "$docked_rt"
  done
done
