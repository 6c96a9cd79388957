#!/usr/bin/env python3
"""Checks every #include under src/ against src/layers.txt.

A quoted include "a/b/c.h" names the folder a/b of src/; it is allowed in a
file of folder F when it is F itself or a folder that F's line of the table
lists. An angle include of a Qt header (<Q...>, <Qt...>) is allowed only
where the line lists "qt". Every folder holding sources must have a line.

    tools/check_layers.py SRC_DIR
Prints one line per forbidden include and exits 1 when there is any.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".cpp", ".inc"}


def read_table(path):
    table = {}
    for raw in path.read_text(encoding="utf-8").splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        folder, _, deps = line.partition(":")
        table[folder.strip()] = set(deps.split())
    core = {f for f, deps in table.items() if "qt" not in deps and f != "cli"}
    for deps in table.values():
        if "core" in deps:
            deps.discard("core")
            deps |= core
    return table


def main():
    src = pathlib.Path(sys.argv[1]).resolve()
    table = read_table(src / "layers.txt")
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        folder = path.parent.relative_to(src).as_posix()
        name = path.relative_to(src).as_posix()
        if folder not in table:
            faults.append(f"{name}: folder {folder} has no line in layers.txt")
            continue
        allowed = table[folder]
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            if kind == "<":
                if re.match(r"Q[A-Za-z]", target) and "qt" not in allowed:
                    faults.append(f"{name}:{number}: Qt header <{target}> in a Qt-free folder")
                continue
            if "/" not in target:
                # A file beside this one (generated data, a moc file).
                continue
            dep = target.rsplit("/", 1)[0]
            if dep != folder and dep not in allowed:
                faults.append(f"{name}:{number}: {folder} may not include {target}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} forbidden include(s)" if faults else "layers: every include is allowed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
