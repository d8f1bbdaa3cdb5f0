# Timing helpers for the benchmark scripts, which source this file.

seconds() {  # wall time of the command in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

cpu_seconds() {  # user and system time of the command, both cores together, in seconds
  /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.3f\n", $1 + $2 }'
}

median() {  # of the numbers on stdin, one a line
  sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
