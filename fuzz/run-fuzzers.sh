#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ and runs each
# for the given number of seconds (default 60), one after the other, starting
# from the seed corpus in fuzz/corpus/<target>/. Prints a table of target,
# executions and findings (crash, leak, timeout and out-of-memory inputs kept
# in build-fuzz/findings/<target>/) and exits nonzero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [seconds]" >&2; exit 2; }

./scripts/install-deps.sh
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DREADER_CONFIG_GUI=OFF -DREADER_CONFIG_TESTS=OFF -DREADER_CONFIG_FUZZ=ON >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
rows=()
total=0
for binary in "$build"/fuzz/*_fuzzer; do
  name="$(basename "$binary" _fuzzer)"
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  log="$build/logs/$name.log"
  mkdir -p "$corpus" "$(dirname "$log")"
  rm -rf "$findings" && mkdir -p "$findings"
  # New inputs go to the work corpus, never into the committed seeds.
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  extra=()
  # A dialog session needs room for a few dozen actions and the device's answers.
  [ "$name" = dialog ] && extra=(-max_len=2048)
  echo "fuzzing $name for ${seconds}s" >&2
  status=0
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
  [ -n "$runs" ] || runs="$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')"
  count="$(find "$findings" -type f | wc -l)"
  # A target that stopped early without keeping an input failed all the same.
  if [ "$status" -ne 0 ] && [ "$count" -eq 0 ]; then
    echo "$name exited with status $status and kept no input: see $log" >&2
    count=1
  fi
  total=$((total + count))
  rows+=("$(printf '| %-17s | %12s | %8s |' "$name" "${runs:-0}" "$count")")
done

printf '| %-17s | %12s | %8s |\n' target executions findings
printf '|%s|%s|%s|\n' ------------------- -------------: ---------:
printf '%s\n' "${rows[@]}"
if [ "$total" -ne 0 ]; then
  echo "findings kept in $build/findings/ (logs in $build/logs/)" >&2
  exit 1
fi
