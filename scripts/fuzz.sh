#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS (default 60), starting from its checked-in corpus in fuzz/corpus/.
# Prints the executions, the speed and the findings per target; a finding is kept in
# build/fuzz/findings/<target>/ and makes the script fail. Inputs that reach new code are kept
# in build/fuzz/corpus/<target>/ for the next run (copy the telling ones into fuzz/corpus/).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in build/fuzz/bin/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi

failed=0
printf '%-18s %12s %10s %9s\n' target executions exec/s findings
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  mkdir -p "$work" "$findings"
  log=build/fuzz/$target.log
  # A crash ends the run early; what it left behind is counted below.
  build/fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || true
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  count=$(find "$findings" -type f | wc -l)
  printf '%-18s %12s %10s %9s\n' "$target" "${executions:-?}" "${speed:-?}" "$count"
  if [ "$count" -gt 0 ] || [ -z "$executions" ]; then
    failed=1
    grep -m1 -E 'ERROR|check failed|runtime error' "$log" | sed 's/^/    /' || true
  fi
done
exit $failed
