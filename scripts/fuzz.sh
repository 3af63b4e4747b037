#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]   (default 30)
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs each for SECONDS, as many
# at a time as there are cores. Each starts from a copy of its seed corpus (fuzz/corpus/<target>/),
# whose inputs it replays first, so the committed corpus only changes by hand, and with
# fuzz/<target>.dict as its dictionary where there is one. Exits non-zero at
# the first failure and prints the path of the input that reproduces it (kept in build/fuzz/failures/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=build/fuzz
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DORVANE_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs" --target orvane_fuzzers

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait
  rm -rf "$work"
}
trap cleanup EXIT
failures="$build/failures"
mkdir -p "$failures"

# Runs one target; its log goes to $work/<target>.log.
run() {
  local name=$1
  mkdir "$work/$name"
  cp fuzz/corpus/"$name"/* "$work/$name/"
  local dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/$name" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$failures/$name-" "${dict[@]}" "$work/$name" >"$work/$name.log" 2>&1
}

report() {
  local name=$1 status=$2 log="$work/$1.log"
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    local reproducer
    reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    echo "FAILED: $name; reproducer: ${reproducer:-none written (see the log above)}"
    echo "Replay it with: $build/fuzz/$name ${reproducer:-<input>}"
    exit 1
  fi
  awk -v name="$name" '/^stat::number_of_executed_units/ {runs=$2} /^stat::average_exec_per_sec/ {rate=$2}
    END {printf "%-24s %10d runs, %7d exec/s\n", name, runs, rate}' "$log"
}

# Waits for one running target and reports it.
reap() {
  local done status=0 pid rest=()
  wait -n -p done "${pids[@]}" || status=$?
  for pid in "${pids[@]}"; do [ "$pid" = "$done" ] || rest+=("$pid"); done
  pids=("${rest[@]}")
  report "${names[$done]}" "$status"
}

declare -A names
for dir in fuzz/corpus/*/; do
  [ "${#pids[@]}" -lt "$jobs" ] || reap
  name=$(basename "$dir")
  run "$name" &
  pids+=($!)
  names[$!]=$name
done
while [ "${#pids[@]}" -gt 0 ]; do reap; done
