#!/usr/bin/env bash
# What quillday --reminders costs while nothing falls due: its wake-ups over a quiet
# minute (voluntary and involuntary context switches of all its threads, from
# /proc/PID/task/*/status) and its resident memory, on a copy of the reminders benchmark's
# store (bench_reminders builds it). Runs on a private session bus with a notification
# server (dunst under Xvfb) when those are installed, else on a bus without one. The
# program's clock is moved to 02:00 tonight, an hour without reminders.
#   reminders_idle.sh QUILLDAY_BIN [STORE] [SECONDS]
set -euo pipefail
bin=$1
store=${2:-${QUILLDAY_BENCH_DIR:-/tmp/quillday-bench-reminders}/store.sqlite}
seconds=${3:-60}
if [ -z "${REMINDERS_IDLE_IN_SESSION:-}" ]; then
  REMINDERS_IDLE_IN_SESSION=1 exec dbus-run-session -- "$0" "$bin" "$store" "$seconds"
fi
[ -f "$store" ] || { echo "no store at $store: run bench_reminders first" >&2; exit 1; }
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
cp "$store" "$work/pim.sqlite"
if command -v Xvfb >/dev/null && command -v dunst >/dev/null; then
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 640x480x24 >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 40); do [ -s "$work/display" ] && break; sleep 0.25; done
  DISPLAY=":$(cat "$work/display")" dunst >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi
export TZ=${TZ:-Europe/Berlin}
export QUILLDAY_CLOCK_OFFSET=$(( $(date -d 'tomorrow 02:00' +%s) - $(date +%s) ))
"$bin" --reminders --store "$work/pim.sqlite" --registry "$work/registry.reg" 2>"$work/stderr" &
pid=$!
pids+=("$pid")
sleep 5  # start-up: the first ringing pass
switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
before=$(switches)
sleep "$seconds"
after=$(switches)
echo "wake-ups (context switches of all threads) over ${seconds} s: $((after - before))"
echo "threads: $(ls /proc/"$pid"/task | wc -l)"
grep -E '^(VmRSS|VmHWM)' /proc/"$pid"/status
