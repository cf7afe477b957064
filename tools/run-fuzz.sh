#!/usr/bin/env bash
# run-fuzz.sh BUILD SECONDS [TARGET...]: runs each libFuzzer target of BUILD/fuzz for
# SECONDS (all targets of BUILD/fuzz-seeds.txt when none is named). The growing corpus
# lives in BUILD/fuzz-corpus/<target>/, seeded from the target's folders; an input that
# crashes, leaks, breaks a check or runs over 10 s is written to fuzz/findings/<target>/.
# Prints the executions of each target and exits 1 when any target found something.
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
summary=()
while read -r name seeds; do
  [ -n "$name" ] || continue
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then
    continue
  fi
  corpus="$build/fuzz-corpus/$name"
  findings="$root/fuzz/findings/$name"
  mkdir -p "$corpus" "$findings"
  # libFuzzer takes folders only: single seed files are copied into one of their own.
  folders=()
  for seed in $seeds; do
    if [ -f "$seed" ]; then
      mkdir -p "$build/fuzz-seed-files/$name"
      cp "$seed" "$build/fuzz-seed-files/$name/"
      folders+=("$build/fuzz-seed-files/$name")
    else
      folders+=("$seed")
    fi
  done
  log="$build/fuzz-$name.log"
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "${folders[@]}" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  if [ $rc -ne 0 ]; then
    status=1
    summary+=("$name: FINDING after ${runs:-?} executions (see $log and $findings)")
  else
    summary+=("$name: ${runs:-?} executions in ${seconds} s, no finding")
  fi
done <"$build/fuzz-seeds.txt"
printf '%s\n' "${summary[@]}"
exit $status
