#!/usr/bin/env python3
"""Regenerates every generated table under src/ and compares it byte for byte
with the checked-in file.

Every *.inc under src/ is one of two kinds, told by its opening comment:
- generated: a line "// Regenerate: python3 tools/GEN.py ARGS > PATH", PATH
  being the file itself. The command is run from the repository's top folder
  with its output going to OUT_DIR/PATH, which must equal the file.
- copied from the printed almanac: the first line starts with
  "// Copied from the printed almanac". A line "// Checked: python3
  tools/gen_*.py ARGS" among its first lines names a check against data/,
  which must succeed.
Anything else is an error, and so is a tools/gen_*.py that makes no table.

    tools/regenerate_tables.py OUT_DIR    check (the ctest test regenerate_tables)
    tools/regenerate_tables.py --write    regenerate the checked-in files in place
Prints one line per table that differs or fails and exits 1 when there is any.
"""
import shlex
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
COPIED = "// Copied from the printed almanac"
REGENERATE = "// Regenerate: "
CHECKED = "// Checked: "
HEADER_LINES = 12


def runs_a_generator(words):
    """Whether a header's command words start 'python3 tools/gen_*.py'."""
    return len(words) >= 2 and words[0] == "python3" and words[1].startswith("tools/gen_")


def head_of(table):
    with open(table, encoding="utf-8") as f:
        return [f.readline().rstrip("\n") for _ in range(HEADER_LINES)]


def check_of(table):
    """The check a copied table's header names, run; an error text or None."""
    relative = table.relative_to(REPO).as_posix()
    lines = [line for line in head_of(table) if line.startswith(CHECKED)]
    if not lines:
        return None
    words = shlex.split(lines[0][len(CHECKED):])
    if not runs_a_generator(words) or ">" in words:
        return f"{relative}: '{lines[0]}' is not 'python3 tools/gen_*.py ...'"
    run = subprocess.run([sys.executable, str(REPO / words[1]), *words[2:]], cwd=REPO, capture_output=True)
    if run.returncode != 0:
        return f"{relative}: {' '.join(words[1:])} failed: {run.stderr.decode('utf-8', 'replace').strip()}"
    return None


def command_of(table):
    """The generator and its arguments named by the table's header, or an
    error text."""
    relative = table.relative_to(REPO).as_posix()
    head = head_of(table)
    if head[0].startswith(COPIED):
        return None, None
    lines = [line for line in head if line.startswith(REGENERATE)]
    if not lines:
        return None, f"{relative}: neither generated (no '{REGENERATE.strip()}' line) nor copied from the printed almanac"
    words = shlex.split(lines[0][len(REGENERATE):])
    if len(words) < 4 or not runs_a_generator(words) or words[-2] != ">" or words[-1] != relative:
        return None, f"{relative}: '{lines[0]}' is not 'python3 tools/gen_*.py ... > {relative}'"
    return words[1:-2], None


def first_difference(kept, made):
    """The first line number at which two texts differ, and both lines."""
    a, b = kept.decode("utf-8", "replace").split("\n"), made.decode("utf-8", "replace").split("\n")
    n = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
    return n + 1, a[n] if n < len(a) else "(end of file)", b[n] if n < len(b) else "(end of file)"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    write = sys.argv[1] == "--write"
    out_dir = None if write else Path(sys.argv[1]).resolve()

    errors, generated, copied, used = [], [], [], set()
    for table in sorted((REPO / "src").rglob("*.inc")):
        relative = table.relative_to(REPO).as_posix()
        args, error = command_of(table)
        if error:
            errors.append(error)
            continue
        if args is None:
            error = check_of(table)
            if error:
                errors.append(error)
            else:
                copied.append(relative)
            continue
        used.add(args[0])
        run = subprocess.run([sys.executable, str(REPO / args[0]), *args[1:]], cwd=REPO,
                             capture_output=True)
        if run.returncode != 0:
            errors.append(f"{relative}: {' '.join(args)} failed: {run.stderr.decode('utf-8', 'replace').strip()}")
            continue
        made, kept = run.stdout, table.read_bytes()
        if write:
            if made != kept:
                table.write_bytes(made)
                print(f"rewrote {relative}")
            generated.append(relative)
            continue
        target = out_dir / relative
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(made)
        if made != kept:
            line, ours, theirs = first_difference(kept, made)
            errors.append(f"{relative} differs from what {' '.join(args)} makes ({target}), "
                          f"first at line {line}:\n  checked in: {ours}\n  generated:  {theirs}")
            continue
        generated.append(relative)

    for gen in sorted((REPO / "tools").glob("gen_*.py")):
        if gen.relative_to(REPO).as_posix() not in used:
            errors.append(f"tools/{gen.name} makes no table under src/")
    for error in errors:
        print(f"FAIL {error}")
    print(f"{len(generated)} generated tables equal their generators' output, "
          f"{len(copied)} copied from the printed almanac, {len(errors)} failing")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
