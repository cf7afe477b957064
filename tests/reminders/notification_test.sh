#!/usr/bin/env bash
# Reminders rung through a real notification server: a private session bus
# (dbus-run-session, with no services to start on demand), Xvfb and dunst, read back with
# dunstctl. The program's clock is shifted (QUILLDAY_CLOCK_OFFSET) so that each case starts
# a few seconds before a reminder falls due. Cases:
#   - without a notification service --reminders says so once and keeps running, and
#     rings the reminder once a service starts
#   - a reminder rings once, with its subject, time span and place
#   - a store change made by another process while --reminders sleeps moves the next ringing
#   - a restart after a missed reminder rings it once, marked missed
#   - the window and the background process together ring a reminder once; when the
#     background process ends the window rings
# Skipped (exit 77) only when the tools are not installed.
#   notification_test.sh QUILLDAY_BIN
set -euo pipefail
bin=$1
for tool in dbus-run-session dbus-daemon Xvfb dunst dunstctl python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done

if [ -z "${REMINDER_TEST_IN_SESSION:-}" ]; then
  config=$(mktemp)
  trap 'rm -f "$config"' EXIT
  cat >"$config" <<'XML'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
XML
  REMINDER_TEST_IN_SESSION=1 dbus-run-session --config-file="$config" -- "$0" "$@" 2> >(grep -v 'fd limit' >&2)
  exit $?
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

export TZ=Europe/Berlin LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
unset QUILLDAY_NOW
store="$work/pim.sqlite"
common=(--store "$store" --registry "$work/registry.reg" --language en)

# The program's clock for what follows: "YYYY-MM-DD HH:MM:SS" (local) is now.
clock_at() { export QUILLDAY_CLOCK_OFFSET=$(( $(date -d "$1" +%s) - $(date +%s) )); }

# An appointment with a reminder, imported by a process of its own:
#   add UID SUBJECT START(YYYYMMDDTHHMMSS) END MINUTES [LOCATION]
add() {
  local file="$work/$1.ics"
  {
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n'
    printf 'UID:%s@test\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:%s\r\nDTEND:%s\r\nSUMMARY:%s\r\n' "$1" "$3" "$4" "$2"
    [ -n "${6:-}" ] && printf 'LOCATION:%s\r\n' "$6"
    printf 'BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT%sM\r\nEND:VALARM\r\n' "$5"
    printf 'END:VEVENT\r\nEND:VCALENDAR\r\n'
  } >"$file"
  "$bin" --import "$file" "${common[@]}" >/dev/null || fail "import of $1"
}

start_background() {
  "$bin" --reminders "${common[@]}" 2>>"$work/reminders.err" &
  background=$!
  pids+=("$background")
}

# How many notifications with that summary the server has shown (all are closed first,
# so that the history holds every one).
shown() {
  dunstctl close-all 2>/dev/null || true
  { dunstctl history 2>/dev/null || echo '{"data": [[]]}'; } | python3 -c '
import json, sys
print(sum(1 for n in json.load(sys.stdin)["data"][0] if n["summary"]["data"] == sys.argv[1]))' "$1"
}
# The body of the last notification with that summary.
body_of() {
  dunstctl close-all
  dunstctl history | python3 -c '
import json, sys
print(next(n["body"]["data"] for n in json.load(sys.stdin)["data"][0] if n["summary"]["data"] == sys.argv[1]))' "$1"
}
# Waits (at most 20 s) until a notification with that summary was shown.
wait_shown() {
  for _ in $(seq 80); do
    [ "$(shown "$1")" -ge 1 ] && return 0
    sleep 0.25
  done
  fail "'$1' was not shown"
}

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 40); do [ -s "$work/display" ] && break; sleep 0.25; done
export DISPLAY=":$(cat "$work/display")"

# Without a notification service: said once, and nothing is taken as rung.
add quiet "Quiet start" 20261211T080000 20261211T083000 5
clock_at "2026-12-11 07:54:57"
start_background
sleep 5
kill -0 "$background" || fail "--reminders ended without a notification service"
[ "$(grep -c 'no desktop notification service' "$work/reminders.err")" = 1 ] \
  || fail "the missing service was not said exactly once: $(cat "$work/reminders.err")"
dunst >/dev/null 2>&1 &
pids+=($!)
wait_shown "Quiet start"
kill "$background"; wait "$background" 2>/dev/null || true

# One reminder, rung once at its minute with its texts.
add alpha "Alpha" 20261211T090000 20261211T093000 5 "Room 7"
clock_at "2026-12-11 08:54:57"
next=$("$bin" --next-reminders 1 "${common[@]}")
[ "$next" = $'2026-12-11 08:55\tappointment\t2026-12-11 09:00\tAlpha' ] || fail "--next-reminders printed '$next'"
start_background
sleep 1
[ "$(shown Alpha)" = 0 ] || fail "Alpha rang before its minute"
wait_shown Alpha
sleep 2
[ "$(shown Alpha)" = 1 ] || fail "Alpha rang $(shown Alpha) times"
body=$(body_of Alpha)
grep -q '9:00a' <<<"$body" && grep -q 'Room 7' <<<"$body" || fail "Alpha's notice says '$body'"

# A store change made by another process moves the next ringing: the sleeping process
# was to wake at 09:55 (Later) and rings Sooner at 09:05 instead.
add later "Later" 20261211T100000 20261211T103000 5
kill "$background"; wait "$background" 2>/dev/null || true
clock_at "2026-12-11 09:04:55"
start_background
sleep 1.5
add sooner "Sooner" 20261211T091000 20261211T093000 5
wait_shown Sooner
[ "$(shown Later)" = 0 ] || fail "Later rang early"

# A restart after a missed reminder: Beta falls due at 09:20 while nothing runs.
add beta "Beta" 20261211T092500 20261211T093000 5
kill "$background"; wait "$background" 2>/dev/null || true
clock_at "2026-12-11 09:23:00"
start_background
wait_shown "Missed: Beta"
sleep 2
[ "$(shown 'Missed: Beta')" = 1 ] && [ "$(shown Beta)" = 0 ] || fail "Beta rang other than once as missed"

# The window and the background process together: one rings Gamma once. When the
# background process ends, the window takes over and rings Delta (set after its time).
kill "$background"; wait "$background" 2>/dev/null || true
add gamma "Gamma" 20261211T094000 20261211T095000 5
clock_at "2026-12-11 09:34:57"
start_background
sleep 1
"$bin" "${common[@]}" >/dev/null 2>&1 &
window=$!
pids+=("$window")
wait_shown Gamma
sleep 3
[ "$(shown Gamma)" = 1 ] || fail "Gamma rang $(shown Gamma) times"
kill "$background"; wait "$background" 2>/dev/null || true
add delta "Delta" 20261211T094500 20261211T095000 30
wait_shown Delta
kill -0 "$window" || fail "the window ended"
[ "$(shown Delta)" = 1 ] || fail "Delta rang $(shown Delta) times"
echo "notification test passed"
