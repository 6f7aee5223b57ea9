#!/usr/bin/env bash
# Runs each fuzz target for a set time, one after the other.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET] [TARGET...]
#   BUILD_DIR defaults to build-fuzz, SECONDS to 60, TARGETs to document expression reader logo run
#   algorithm.
# New interesting inputs go to BUILD_DIR/fuzz-work/<target> (the checked-in seeds under
# fuzz/corpus stay as they are); crashes, hangs and leaks go to fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${2:-60}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(document expression reader logo run algorithm)

status=0
printf '%-11s %8s %12s %10s %8s\n' target seconds executions exec/s findings
for target in "${targets[@]}"; do
  binary="$build/fuzz/${target}_fuzzer"
  if [ ! -x "$binary" ]; then
    echo "missing $binary: build the fuzz preset first (make fuzz)" >&2
    exit 2
  fi
  work="$build/fuzz-work/$target"
  artifacts="fuzz/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  log="$build/fuzz-work/$target.log"
  # A run that finds a crash stops early with a non-zero status; report it and go on.
  if ! "$binary" "$work" "fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  findings=$(find "$artifacts" -type f | wc -l)
  printf '%-11s %8s %12s %10s %8s\n' "$target" "$seconds" "${executions:-?}" "${rate:-?}" "$findings"
done
[ $status -ne 0 ] && echo "a target stopped on a finding: see fuzz/artifacts and the logs in $build/fuzz-work" >&2
exit $status
