#!/usr/bin/env bash
# Times mirrorknit-cli on generated models (release build) and prints Markdown tables: the plain
# round trip, the dock, and the round trip of the docked file (which writes the same bytes as the
# dock), file to file, as medians of interleaved runs, with the dock's peak memory; then the
# program's redraw of a 100,000-point model with and without ids.
#   bash scripts/bench.sh [ROUNDS]      (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/measure.sh
rounds="${1:-7}"
bash scripts/build.sh release >/dev/null
cli=$PWD/build/release/cli/mirrorknit-cli
make_model=$PWD/build/release/bench/make_model
redraw=$PWD/build/release/bench/mirrorknit_bench_redraw
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

peak_mb() {  # peak resident memory of the command in MiB
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f", $1 / 1024}'
}

echo "| format | points | file MiB | round trip s | dock s | round trip of the docked file s | dock / docked round trip | dock peak MiB | peak / file |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
# "tagged" is a ".mdl" file in the angle-tag dialect.
for format in mdl seg tagged; do
  ext=${format/tagged/mdl}
  dialect=()
  [ "$format" = tagged ] && dialect=(--tagged)
  for n in 10000 100000 1000000; do
    "$make_model" "$n" "model.$ext" 7 "${dialect[@]}" >/dev/null
    "$cli" dock "model.$ext" -o "docked.$ext" >/dev/null 2>&1
    size=$(stat -c %s "model.$ext")
    mib=$(echo "$size / 1048576" | bc -l)
    : > rt.txt; : > dock.txt; : > drt.txt
    for _ in $(seq "$rounds"); do
      seconds "$cli" roundtrip "model.$ext" -o "out.$ext" >> rt.txt
      seconds "$cli" dock "model.$ext" -o "out.$ext" >> dock.txt
      seconds "$cli" roundtrip "docked.$ext" -o "again.$ext" >> drt.txt
    done
    rt=$(median < rt.txt); dock=$(median < dock.txt); drt=$(median < drt.txt)
    peak=$(peak_mb "$cli" dock "model.$ext" -o "out.$ext")
    printf '| %s | %d | %.1f | %s | %s | %s | %.2f | %s | %.1f |\n' "$format" "$n" "$mib" "$rt" "$dock" \
      "$drt" "$(echo "$dock / $drt" | bc -l)" "$peak" "$(echo "$peak / $mib" | bc -l)"
  done
done

echo
echo "| redraw at 1000 x 800, 100,000 points | median ms |"
echo "|---|---:|"
QT_QPA_PLATFORM=offscreen "$redraw" --benchmark_filter='BM_Redraw(Mdl|MdlIds|Seg)/' \
  --benchmark_repetitions="$rounds" --benchmark_report_aggregates_only=true 2>/dev/null |
  awk '/_median/ {name=$1; sub(/_median/, "", name); printf "| %s | %.0f |\n", name, $2}'
