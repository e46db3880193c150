#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/, those targets only) and runs each one on its
# seed corpus for SECONDS (default 20). The test command runs it as a smoke test; a longer SECONDS
# makes a fuzzing campaign. Prints one line per target with its runs and seconds; fails on the
# first crash, hang or sanitizer report, keeping the input in build-fuzz/fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets by name without fuzz_ (default: all)
set -euo pipefail
seconds=${1:-20}
shift || true
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCOBALT_FUZZ=ON -DCOBALT_CONTENT=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_all >/dev/null

fuzz=build-fuzz/fuzz
targets=("$@")
if ((${#targets[@]} == 0)); then
  # Every target has a seed folder of its own name.
  for d in "$fuzz"/corpus/*/; do targets+=("$(basename "$d")"); done
fi
mkdir -p "$fuzz/findings"
status=0
printf '%-10s %12s %8s\n' target runs seconds
for t in "${targets[@]}"; do
  # New inputs go to a working folder, so the generated seeds stay as they were made.
  mkdir -p "$fuzz/work/$t"
  log="$fuzz/work/$t.log"
  # -close_fd_mask=2: the game's own lines on standard error (refused files) would drown the
  # log; libFuzzer and the sanitizers still report on a copy of it.
  if ! "$fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -close_fd_mask=2 -print_final_stats=1 \
      -artifact_prefix="$fuzz/findings/$t-" "$fuzz/work/$t" "$fuzz/corpus/$t" >"$log" 2>&1; then
    echo "fuzz_$t failed:" >&2
    grep -E "ERROR|SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
    status=1
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  printf '%-10s %12s %8s\n' "$t" "$runs" "$took"
done
exit $status
