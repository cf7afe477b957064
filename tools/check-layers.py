#!/usr/bin/env python3
"""Checks that no source folder includes from a folder in its own layer or above it.

Each folder's tests (tests/<folder>/) are held to the same rule as the folder itself.
Prints each offending include and exits 1 when there is one.
    check-layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

# From the bottom up; folders on one line share a layer and do not use each other.
LAYERS = [
    ["platform"],
    ["calendar"],
    ["controls", "pim", "resources"],
    ["ical"],
    ["ink", "week"],
    ["dialogs"],
    ["sync", "reminders"],
    ["app"],
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"(\w+)/', re.MULTILINE)


def faults(root):
    for folder, level in LEVEL.items():
        for base in (root / folder, root / "tests" / folder):
            for path in sorted(base.glob("*")):
                if path.suffix not in (".h", ".cpp"):
                    continue
                for used in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                    if used != folder and LEVEL.get(used, -1) >= level:
                        yield f"{path.relative_to(root)} includes from {used}/"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(faults(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
