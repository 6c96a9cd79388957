#!/usr/bin/env python3
"""Checks every #include under src/ against src/layers.txt.

A quoted include "a/b/c.h" names the folder a/b of src/; it is allowed in a
file of folder F when it is F itself or a folder that F's line of the table
lists. An angle include of a Qt header (<Q...>, <Qt...>) is allowed only
where the line lists "qt". Every folder holding sources must have a line.
The table lists only what is used: a folder (or "qt") that a line names but
no file of that folder includes is reported too. "core", a shorthand for
every Qt-free folder, is not checked that way.

    tools/check_layers.py SRC_DIR
Prints one line per forbidden include and exits 1 when there is any.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".cpp", ".inc"}


def read_table(path):
    table, named = {}, {}
    for raw in path.read_text(encoding="utf-8").splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        folder, _, deps = line.partition(":")
        table[folder.strip()] = set(deps.split())
        named[folder.strip()] = set(deps.split()) - {"core"}
    core = {f for f, deps in table.items() if "qt" not in deps and f != "cli"}
    for deps in table.values():
        if "core" in deps:
            deps.discard("core")
            deps |= core
    return table, named


def main():
    src = pathlib.Path(sys.argv[1]).resolve()
    table, named = read_table(src / "layers.txt")
    faults = []
    used = {folder: set() for folder in table}
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
                if re.match(r"Q[A-Za-z]", target):
                    used[folder].add("qt")
                    if "qt" not in allowed:
                        faults.append(f"{name}:{number}: Qt header <{target}> in a Qt-free folder")
                continue
            if "/" not in target:
                # A file beside this one (generated data, a moc file).
                continue
            dep = target.rsplit("/", 1)[0]
            used[folder].add(dep)
            if dep != folder and dep not in allowed:
                faults.append(f"{name}:{number}: {folder} may not include {target}")
    for folder, deps in sorted(named.items()):
        for dep in sorted(deps - used[folder]):
            faults.append(f"layers.txt: {folder} may include {dep}, but nothing in {folder} does")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} fault(s) in the layers" if faults else "layers: every include is allowed and every allowed edge used")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
