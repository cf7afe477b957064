#!/usr/bin/env bash
# run-fuzz.sh BUILD SECONDS [TARGET...]: runs each libFuzzer target of BUILD/fuzz for
# SECONDS (all targets of BUILD/fuzz-seeds.txt when none is named); the targets whose
# every execution imports or exports a whole calendar (kSlowTargets) run kSlowFactor
# times as long, so that they reach as many inputs as the others. The growing corpus
# lives in BUILD/fuzz-corpus/<target>/, seeded from the target's folders, with the
# keywords of fuzz/dictionaries/<target>.dict where there is one; an input that crashes,
# leaks, breaks a check or runs over 10 s is written to fuzz/findings/<target>/.
# Prints the executions and seconds of each target and exits 1 when any target found
# something.
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
root=$(cd "$(dirname "$0")/.." && pwd)
kSlowTargets=" ical store "
kSlowFactor=4
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
  options=()
  dict="$root/fuzz/dictionaries/$name.dict"
  [ -f "$dict" ] && options+=(-dict="$dict")
  time_limit=$seconds
  [[ "$kSlowTargets" == *" $name "* ]] && time_limit=$((seconds * kSlowFactor))
  log="$build/fuzz-$name.log"
  "$build/fuzz/fuzz_$name" -max_total_time="$time_limit" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$findings/" -print_final_stats=1 "${options[@]}" "$corpus" "${folders[@]}" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  if [ $rc -ne 0 ]; then
    status=1
    summary+=("$name: FINDING after ${runs:-?} executions (see $log and $findings)")
  else
    summary+=("$name: ${runs:-?} executions in ${time_limit} s, no finding")
  fi
done <"$build/fuzz-seeds.txt"
printf '%s\n' "${summary[@]}"
exit $status
