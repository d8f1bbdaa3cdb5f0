# Timing helpers for the benchmark scripts, which source this file.

seconds() {  # wall time of the command in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

wall_and_cpu() {  # of one run of the command: wall time, then user and system time of both cores
  local start end cpu
  start=$(date +%s.%N)
  cpu=$(/usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.3f", $1 + $2 }')
  end=$(date +%s.%N)
  printf '%.3f %s\n' "$(echo "$end - $start" | bc -l)" "$cpu"
}

median() {  # of the numbers on stdin, one a line
  sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

median_of_column() {  # of column $1 of the lines on stdin
  awk -v c="$1" '{ print $c }' | median
}
