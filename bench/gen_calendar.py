#!/usr/bin/env python3
"""Make a deterministic iCalendar file for the benchmarks.

The calendar has EVENTS appointments between 2000-01-01 and 2030-12-31 and TODOS tasks,
all in floating local time (no TZID), so every program reads them alike:

  appointments  ~5% all-day (VALUE=DATE), ~2% timed across 1 to 3 midnights, the rest
                timed within one day (30 to 120 minutes, starting 07:00 to 19:45 on a
                quarter hour), of which ~3% of all recur (DAILY, WEEKLY, MONTHLY or
                YEARLY, ending by COUNT or UNTIL); ~30% carry a LOCATION
  tasks         ~40% with a due date only, ~30% with start and due, ~30% with neither;
                ~30% completed (with a UTC COMPLETED stamp); PRIORITY 1, 5 or 9
  --endless K   K weekly, monthly or yearly series without an end, started 2000 to 2010,
                appended from a random stream of their own (the first items keep their
                bytes whatever K is)

The same seed and counts always give the same bytes (no clock is read).
Usage: gen_calendar.py --events N --todos M --seed S [--endless K] --out FILE
"""
import argparse
import datetime
import random

FIRST = datetime.date(2000, 1, 1)
LAST = datetime.date(2030, 12, 31)
DAYS = (LAST - FIRST).days + 1
STAMP = "DTSTAMP:20240101T000000Z"

SUBJECTS = ["Team", "Project", "Budget", "Review", "Lunch", "Call", "Dentist", "Planning", "Sync",
            "Workshop", "Report", "Training", "Interview", "Yoga", "Piano", "Design", "Release",
            "Retro", "Demo", "Visit"]
LOCATIONS = ["Room 101", "Main office, floor 2", "Cafe; corner table", "Library", "Online",
             "Town hall", "Gym"]
FREQUENCIES = ["DAILY", "WEEKLY", "MONTHLY", "YEARLY"]
MAX_COUNT = {"DAILY": 30, "WEEKLY": 52, "MONTHLY": 24, "YEARLY": 10}
MAX_UNTIL_DAYS = {"DAILY": 60, "WEEKLY": 730, "MONTHLY": 1825, "YEARLY": 10950}
LENGTHS = range(30, 121, 15)  # minutes


def date_time(t):
    return t.strftime("%Y%m%dT%H%M%S")


def date_only(d):
    return d.strftime("%Y%m%d")


def text_value(text):
    for plain, escaped in (("\\", "\\\\"), (";", "\\;"), (",", "\\,"), ("\n", "\\n")):
        text = text.replace(plain, escaped)
    return text


def folded(line):
    """The physical lines of a content line, each at most 75 octets (RFC 5545 3.1)."""
    pieces, piece, room = [], b"", 75
    for char in line:
        octets = char.encode("utf-8")
        if len(piece) + len(octets) > room:
            pieces.append(piece.decode("utf-8"))
            piece, room = b"", 74  # a continuation starts with a space
        piece += octets
    pieces.append(piece.decode("utf-8"))
    return [pieces[0]] + [" " + p for p in pieces[1:]]


class Maker:
    def __init__(self, rng):
        self.rng = rng

    def day(self):
        return FIRST + datetime.timedelta(days=self.rng.randrange(DAYS))

    def start_on(self, day):
        quarter = self.rng.randrange(7 * 4, 20 * 4)
        return datetime.datetime.combine(day, datetime.time()) + datetime.timedelta(minutes=15 * quarter)

    def subject(self, what, i):
        return "%s %s %d" % (self.rng.choice(SUBJECTS), what, i)

    def rule(self, start):
        freq = self.rng.choice(FREQUENCIES)
        if self.rng.random() < 0.5:
            return "FREQ=%s;COUNT=%d" % (freq, self.rng.randint(2, MAX_COUNT[freq]))
        until = start + datetime.timedelta(days=self.rng.randint(1, MAX_UNTIL_DAYS[freq]))
        until = min(until, datetime.datetime.combine(LAST, datetime.time(23, 59, 59)))
        return "FREQ=%s;UNTIL=%s" % (freq, date_time(until))  # floating, like DTSTART

    def appointment(self, i):
        lines = ["BEGIN:VEVENT", "UID:ev-%d@bench.invalid" % i, STAMP]
        draw = self.rng.random()
        day = self.day()
        if draw < 0.05:
            lines.append("DTSTART;VALUE=DATE:" + date_only(day))
            lines.append("DTEND;VALUE=DATE:" + date_only(day + datetime.timedelta(days=1)))
        elif draw < 0.07:
            start = self.start_on(day)
            end = self.start_on(day + datetime.timedelta(days=self.rng.randint(1, 3)))
            lines += ["DTSTART:" + date_time(start), "DTEND:" + date_time(end)]
        else:
            start = self.start_on(day)
            end = start + datetime.timedelta(minutes=self.rng.choice(LENGTHS))
            lines += ["DTSTART:" + date_time(start), "DTEND:" + date_time(end)]
            if draw < 0.10:
                lines.append("RRULE:" + self.rule(start))
        lines.append("SUMMARY:" + text_value(self.subject("event", i)))
        if self.rng.random() < 0.3:
            lines.append("LOCATION:" + text_value(self.rng.choice(LOCATIONS)))
        return lines + ["END:VEVENT"]

    def task(self, i):
        lines = ["BEGIN:VTODO", "UID:todo-%d@bench.invalid" % i, STAMP,
                 "SUMMARY:" + text_value(self.subject("task", i)),
                 "PRIORITY:%d" % self.rng.choice([1, 5, 9])]
        draw = self.rng.random()
        due = self.start_on(self.day())
        if draw < 0.4:
            lines.append("DUE:" + date_time(due))
        elif draw < 0.7:
            start = due - datetime.timedelta(days=self.rng.randint(0, 14), hours=self.rng.randint(1, 8))
            lines += ["DTSTART:" + date_time(start), "DUE:" + date_time(due)]
        if self.rng.random() < 0.3:
            completed = self.start_on(self.day())
            lines += ["STATUS:COMPLETED", "PERCENT-COMPLETE:100", "COMPLETED:" + date_time(completed) + "Z"]
        else:
            lines.append("STATUS:NEEDS-ACTION")
        return lines + ["END:VTODO"]

    def endless_series(self, i):
        start = self.start_on(FIRST + datetime.timedelta(days=self.rng.randint(0, 3652)))
        end = start + datetime.timedelta(minutes=self.rng.choice(LENGTHS))
        freq = self.rng.choice(["WEEKLY", "WEEKLY", "MONTHLY", "YEARLY"])
        return ["BEGIN:VEVENT", "UID:endless-%d@bench.invalid" % i, STAMP, "DTSTART:" + date_time(start),
                "DTEND:" + date_time(end), "RRULE:FREQ=" + freq,
                "SUMMARY:" + text_value(self.subject("series", i)), "END:VEVENT"]


def calendar_lines(events, todos, seed, endless=0):
    yield from ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//bench//gen_ics//EN", "CALSCALE:GREGORIAN"]
    maker = Maker(random.Random(seed))
    items = [maker.appointment(i) for i in range(events)] + [maker.task(i) for i in range(todos)]
    series = Maker(random.Random(seed + 1))
    items += [series.endless_series(i) for i in range(endless)]
    for item in items:
        for line in item:
            yield from folded(line)
    yield "END:VCALENDAR"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--events", type=int, default=1000, help="number of appointments (VEVENT)")
    parser.add_argument("--todos", type=int, default=100, help="number of tasks (VTODO)")
    parser.add_argument("--seed", type=int, default=1, help="random seed")
    parser.add_argument("--endless", type=int, default=0, help="series without an end, appended")
    parser.add_argument("--out", required=True, help="the .ics file to write")
    args = parser.parse_args()
    with open(args.out, "w", encoding="utf-8", newline="") as out:
        for line in calendar_lines(args.events, args.todos, args.seed, args.endless):
            out.write(line + "\r\n")


if __name__ == "__main__":
    main()
