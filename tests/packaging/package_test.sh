#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary root and runs
# the program from there as an installed program: no --home, the data files read from
# usr/share/quillday. Also checks the package's dependencies and, when lintian is
# installed, that it reports no errors.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
deb=$(ls "$work"/out/quillday_*.deb)
[ -f "$deb" ] || fail "no package in $work/out"

info=$(dpkg-deb -I "$deb")
for dep in libqt6widgets6 libqt6core6 libsqlite3-0 libical3 libc6 fonts-nanum fonts-dejavu-core; do
  grep -q "^ Depends:.*\b$dep\b" <<<"$info" || fail "Depends lacks $dep: $(grep Depends <<<"$info")"
done
grep -q '^ Version: 1\.0\.0\.1$' <<<"$info" || fail "version: $(grep Version <<<"$info")"
grep -q '^ Maintainer: Quillday developers <developers@quillday.invalid>$' <<<"$info" \
  || fail "maintainer: $(grep Maintainer <<<"$info")"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/quillday usr/bin/quillday-reminders usr/share/quillday/anniversary.dat usr/share/quillday/orlith.inf \
         usr/share/applications/quillday.desktop usr/share/metainfo/org.quillday.Quillday.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/quillday.png usr/share/icons/hicolor/32x32/apps/quillday.png \
         usr/share/icons/hicolor/48x48/apps/quillday.png usr/share/icons/hicolor/128x128/apps/quillday.png \
         usr/share/icons/hicolor/scalable/apps/quillday.svg usr/share/man/man1/quillday.1.gz \
         usr/share/man/ko/man1/quillday.1.gz usr/share/quillday/orlith.en.inf \
         usr/share/bash-completion/completions/quillday usr/share/doc/quillday/copyright \
         etc/xdg/autostart/quillday-reminders.desktop usr/lib/systemd/user/quillday-reminders.service; do
  [ -e "$root/$f" ] || fail "$f is not in the package"
done
for module in window sync; do
  find "$root/usr/lib" -path "*/quillday/quillday-$module.so" | grep -q . || fail "the $module module is not in the package"
done
# The background reminders start at log-in, from the autostart entry or the user unit.
grep -qx 'Exec=quillday --reminders' "$root/etc/xdg/autostart/quillday-reminders.desktop" \
  || fail "the autostart entry does not run quillday --reminders"
grep -qx 'ExecStart=quillday --reminders' "$root/usr/lib/systemd/user/quillday-reminders.service" \
  || fail "the user unit does not run quillday --reminders"
dpkg-deb -e "$deb" "$work/control"
grep -qx '/etc/xdg/autostart/quillday-reminders.desktop' "$work/control/conffiles" \
  || fail "the autostart entry is not a conffile"
# The licence, in Debian's machine-readable form.
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
  "$root/usr/share/doc/quillday/copyright" || fail "copyright is not in the machine-readable format"
grep -q '^License: GPL-3+$' "$root/usr/share/doc/quillday/copyright" || fail "copyright does not name GPL-3+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$root/usr/share/metainfo/org.quillday.Quillday.metainfo.xml" || fail "AppStream does not name the licence"

# A person with an empty home: nothing of theirs, no QUILLDAY_HOME.
person="$work/person"
mkdir -p "$person"
run() {
  env -u QUILLDAY_HOME -u QUILLDAY_REGISTRY -u LC_ALL LC_MESSAGES=ko_KR.UTF-8 HOME="$person" XDG_DATA_HOME="$person/data" \
      XDG_CONFIG_HOME="$person/config" TZ=Asia/Seoul QUILLDAY_SHORTDATE=yy.M.d "$root/usr/bin/quillday" "$@"
}
version=$(run --version) || fail "--version failed"
[ "$version" = "Quillday 1.0.0.1" ] || fail "--version printed '$version'"
# A mode that only reads makes no store: --print-week names the missing one.
run --print-week 2007-03-01 >/dev/null 2>"$work/stderr" && fail "--print-week without a store succeeded"
grep -q "$person/data/quillday/pim.sqlite does not exist" "$work/stderr" || fail "no store named: $(cat "$work/stderr")"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n' >"$work/empty.ics"
run --import "$work/empty.ics" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; fail "--import failed"; }
week=$(run --print-week 2007-03-01 2>"$work/stderr") || { cat "$work/stderr" >&2; fail "--print-week failed"; }
# 1 March from the installed anniversary.dat, the weekday names from the installed orlith.inf.
grep -q $'삼일절' <<<"$week" || fail "the installed special days were not read: $week"
grep -q '^2007-03-01 목 3/1$' <<<"$week" || fail "the installed texts were not read: $week"
# The window comes from the installed module.
QT_QPA_PLATFORM=offscreen run --screenshot "$work/shot.png" --date 2007-03-01 2>"$work/stderr" \
  || { cat "$work/stderr" >&2; fail "--screenshot failed"; }
[ -s "$work/shot.png" ] || fail "--screenshot wrote no picture"

# --reminders hands over to the installed quillday-reminders (the same process, without
# the window's libraries); on no session bus it keeps running.
env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY HOME="$person" XDG_DATA_HOME="$person/data" XDG_CONFIG_HOME="$person/config" \
    "$root/usr/bin/quillday" --reminders 2>"$work/reminders.err" &
reminders=$!
for _ in $(seq 40); do
  [ "$(readlink "/proc/$reminders/exe" || true)" = "$root/usr/bin/quillday-reminders" ] && break
  sleep 0.25
done
exe=$(readlink "/proc/$reminders/exe" || true)
kill "$reminders" 2>/dev/null || true
wait "$reminders" 2>/dev/null || true
[ "$exe" = "$root/usr/bin/quillday-reminders" ] || fail "--reminders ran as '$exe': $(cat "$work/reminders.err")"

# A person's own anniversary.dat is read instead of the installed one.
mkdir -p "$person/data/quillday"
printf '0000-03-01 Own day\r\n' >"$person/data/quillday/anniversary.dat"
week=$(run --print-week 2007-03-01 2>/dev/null) || fail "--print-week with the person's file failed"
grep -q 'Own day' <<<"$week" || fail "the person's anniversary.dat was not read: $week"
grep -q $'삼일절' <<<"$week" && fail "the installed anniversary.dat was read as well"

if command -v lintian >/dev/null 2>&1; then
  lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
  if grep -q '^E:' "$work/lintian.log"; then
    cat "$work/lintian.log" >&2
    fail "lintian reports errors"
  fi
  grep -E '^[WI]:' "$work/lintian.log" || true
fi
echo "package test passed: $(basename "$deb")"
