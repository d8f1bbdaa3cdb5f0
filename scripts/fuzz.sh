#!/usr/bin/env bash
# Builds the libFuzzer targets and gives each about the given number of seconds of one core
# (default 60).
# Crash, timeout and leak inputs are kept in fuzz/findings/<target>/; the growing corpus in
# build/fuzz/corpus/<target>/ is seeded from examples/ and the test files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_mdl fuzz_seg fuzz_tagged fuzz_text)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -- -j"$(nproc)"

# Runs one target for its time on its corpus; a non-zero exit means it found a problem.
run_target() {
  local target=$1 corpus=$2 findings=$3
  if ! "$PWD/build/fuzz/fuzz/$target" -max_total_time="$wall" -timeout=10 -rss_limit_mb=4096 \
      -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" \
      > "build/fuzz/$target.log" 2>&1; then
    echo "!! $target found a problem; see build/fuzz/$target.log and $findings/"
    grep -A 30 -E '^==[0-9]+==|runtime error|ERROR: libFuzzer|deadly signal' \
      "build/fuzz/$target.log" | head -n 60 || true
    touch "build/fuzz/$target.failed"
    return 1
  fi
  echo "== $target done: $(grep -E '^stat::number_of_executed_units' "build/fuzz/$target.log" || true)"
}

# Each fuzzer keeps to one thread, so all targets run at once. With more targets than cores
# they run proportionally longer, so that each still gets about its time of one core's work:
# four targets on two cores run 120 s for 60 s each.
cores=$(nproc)
wall=$seconds
if [ ${#targets[@]} -gt "$cores" ]; then
  wall=$(( (seconds * ${#targets[@]} + cores - 1) / cores ))
fi
for target in "${targets[@]}"; do
  # Absolute: the document targets move into a scratch folder for attach_err.txt.
  corpus="$PWD/build/fuzz/corpus/$target"
  findings="$PWD/fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  case "$target" in
    fuzz_mdl | fuzz_tagged) pattern='*.mdl' ;;
    fuzz_seg) pattern='*.seg' ;;
    *) pattern='*' ;;
  esac
  # Seeds under names made from their paths: many cases share the name input.mdl.
  find examples tests/data -type f -name "$pattern" -print 2>/dev/null | while read -r seed; do
    cp -n "$seed" "$corpus/seed_${seed//\//_}" 2>/dev/null || true
  done
  rm -f "build/fuzz/$target.failed"
  echo "== $target for ${wall}s"
  run_target "$target" "$corpus" "$findings" &
done
wait || true

status=0
for target in "${targets[@]}"; do
  [ ! -e "build/fuzz/$target.failed" ] || status=1
done
exit $status
