#!/usr/bin/env python3
"""Generate src/place/equation_of_time_data.inc, the equation of time of every
day of the year.

Source: data/astro/equation_of_time.csv, the equation of time (apparent
minus mean solar time) of each day of 2004 at 12:00 UT in minutes to 0.01,
computed with the npm package astronomy-engine (Greenwich apparent sidereal
time minus the Sun's apparent right ascension) and checked against
astronomia; see data/astro/README.md. 2004 is a leap year, so 29 February has
its own value.

The nine cells the program has always printed keep their printed values; the
six dates no calendar has (30 and 31 February, 31 April, June, September,
November) hold 0.

Usage: python3 tools/gen_equation_of_time.py > src/place/equation_of_time_data.inc
"""
from table_data import emit, fail, header, read_csv

SOURCE = "data/astro/equation_of_time.csv"
TARGET = "src/place/equation_of_time_data.inc"

DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
MONTHS = ["January", "February", "March", "April", "May", "June", "July",
          "August", "September", "October", "November", "December"]

# (month, day): hundredths of a minute as printed.
PRINTED = {
    (1, 1): -315, (2, 10): -1425, (4, 15): 45, (5, 14): 368, (7, 26): -643,
    (9, 1): 100, (11, 3): 1642, (12, 24): 38, (12, 31): -305,
}


def hundredths(text):
    s = text.strip()
    sign = -1 if s.startswith("-") else 1
    whole, _, frac = s.lstrip("+-").partition(".")
    if not whole.isdigit() or len(frac) != 2 or not frac.isdigit():
        raise ValueError(f"not a value to 0.01: {text!r}")
    return sign * (int(whole) * 100 + int(frac))


def main():
    cells = {}
    for row in read_csv(SOURCE):
        key = (int(row["month"]), int(row["day"]))
        if not (1 <= key[0] <= 12 and 1 <= key[1] <= DAYS[key[0] - 1]):
            fail(f"{key}: not a date")
        if key in cells:
            fail(f"{key}: twice")
        cells[key] = hundredths(row["minutes"])
    if len(cells) != sum(DAYS):
        fail(f"{len(cells)} dates, expected {sum(DAYS)}")

    data = dict(cells)
    cells.update(PRINTED)

    text = header([SOURCE], [
        "(equation of time of 2004 at 12:00 UT, astronomy-engine, to 0.01 minute); the",
        "cells the program has always printed are kept as printed, impossible dates 0.",
    ], TARGET)
    text += "\n// Hundredths of a minute, by month 1..12 and day 1..31.\n"
    text += "constexpr short kEquationOfTimeHundredths[12][31] = {\n"
    for m in range(1, 13):
        values = [cells.get((m, d), 0) for d in range(1, 32)]
        notes = [f"{d}: printed, data {data[(m, d)] / 100:.2f}" for d in range(1, 32) if (m, d) in PRINTED]
        notes += [f"{d}: no such date" for d in range(DAYS[m - 1] + 1, 32)]
        comment = MONTHS[m - 1] + (" (" + "; ".join(notes) + ")" if notes else "")
        text += f"    // {comment}\n"
        text += "    {" + ", ".join(str(v) for v in values) + "},\n"
    text += "};\n"
    emit(text)


if __name__ == "__main__":
    main()
