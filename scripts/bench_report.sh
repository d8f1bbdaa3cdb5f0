#!/usr/bin/env bash
# What the dock report costs: times `mirrorknit-cli dock` of a generated 1,000,000-point model,
# file to file, without and with `--report`, runs interleaved, and prints a Markdown table of
# the medians of the wall time and of the CPU time (both cores together; on a shared machine
# it moves less than the wall time). Give a second CLI (an older build) as BASE to time its
# plain dock beside them.
#   bash scripts/bench_report.sh [BUILD_DIR] [RUNS] [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/measure.sh
build=$(cd "${1:-build/release}" && pwd)
runs=${2:-7}
base=${3:-}
[ -n "$base" ] && base=$(cd "$(dirname "$base")" && pwd)/$(basename "$base")
cli=$build/cli/mirrorknit-cli
make_model=$build/bench/make_model
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

header="| format | points | plain dock s | with report s | report / plain | plain CPU s | with report CPU s | report / plain, CPU | report MiB |"
rule="|---|---:|---:|---:|---:|---:|---:|---:|---:|"
if [ -n "$base" ]; then
  header="$header plain dock before s | before, CPU s |"
  rule="$rule---:|---:|"
fi
echo "$header"
echo "$rule"
for ext in mdl seg; do
  "$make_model" 1000000 "m.$ext" 7
  : > plain.txt; : > report.txt; : > base.txt
  for _ in $(seq "$runs"); do
    wall_and_cpu "$cli" dock "m.$ext" -o "out.$ext" >> plain.txt
    wall_and_cpu "$cli" dock "m.$ext" -o "out.$ext" --report r.json >> report.txt
    [ -n "$base" ] && wall_and_cpu "$base" dock "m.$ext" -o "out.$ext" >> base.txt
  done
  plain=$(median_of_column 1 < plain.txt)
  report=$(median_of_column 1 < report.txt)
  plain_cpu=$(median_of_column 2 < plain.txt)
  report_cpu=$(median_of_column 2 < report.txt)
  ratio=$(printf '%.3f' "$(echo "$report / $plain" | bc -l)")
  ratio_cpu=$(printf '%.3f' "$(echo "$report_cpu / $plain_cpu" | bc -l)")
  mib=$(printf '%.1f' "$(echo "$(stat -c %s r.json) / 1048576" | bc -l)")
  row="| $ext | 1000000 | $plain | $report | $ratio | $plain_cpu | $report_cpu | $ratio_cpu | $mib |"
  [ -n "$base" ] && row="$row $(median_of_column 1 < base.txt) | $(median_of_column 2 < base.txt) |"
  echo "$row"
done
