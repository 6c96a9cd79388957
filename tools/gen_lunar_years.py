#!/usr/bin/env python3
"""Generate rows of the lunar-year table for a span of lunar years, into
src/calendar/lunar_year_FIRST_data.inc.

A row is 18 characters: the lengths of 13 months ("1" = 30 days, "0" = 29;
the 13th is "0" in a year without a leap month), the leap month as a hex
digit (0 = none) and the Gregorian date MMDD of the lunar new year.

Source: data/astro/lunar_years_extra.csv, rows for lunar year 1899 and
2022..2100 in that form: month lengths, leap months and new years from the
npm package lunar-javascript 1.7.7, every month start checked against the
new-moon days of astronomy-engine and astronomia; see data/astro/README.md.
Every row of the file is checked for its form, and wherever the file holds
two consecutive years, the first one's new year plus its months must give the
second one's new year.

Two rows stay as the file has them although their new moons fall within
seconds of midnight, where the forecast of Delta T decides the day (see
"Uncertain days" in data/astro/README.md): 2057 (month 9 from 29 September)
and 2097 (month 7 from 7 August). The table says so when it holds them.

The printed table of the almanac covers 1900..2021; its includer puts the
generated spans before and after it.

Usage: python3 tools/gen_lunar_years.py FIRST [LAST] > TARGET
  e.g. python3 tools/gen_lunar_years.py 1899 > src/calendar/lunar_year_1899_data.inc
"""
import sys
from datetime import date, timedelta

from table_data import emit, fail, header, read_csv

SOURCE = "data/astro/lunar_years_extra.csv"
# year: the month whose first day rests on a new moon at midnight
UNCERTAIN = {2057: "month 9 from 2057-09-29", 2097: "month 7 from 2097-08-07"}


def new_year_and_length(year, row):
    """The Gregorian new year of the row's lunar year and its length in days."""
    if len(row) != 18 or any(c not in "01" for c in row[:13]):
        fail(f"{year}: {row!r} is not 13 month lengths, a leap month and MMDD")
    leap = int(row[13], 16) if row[13] in "0123456789ABCDEFabcdef" else -1
    if not 0 <= leap <= 12:
        fail(f"{year}: leap month {row[13]!r} is not 0..C")
    months = 13 if leap else 12
    if not leap and row[12] != "0":
        fail(f"{year}: a 13th month without a leap month")
    try:
        start = date(year, int(row[14:16]), int(row[16:18]))
    except ValueError:
        fail(f"{year}: new year {row[14:18]} is not a date")
    if start.month > 2:
        fail(f"{year}: new year {row[14:18]} after February")
    return start, sum(30 if c == "1" else 29 for c in row[:months])


def main():
    args = sys.argv[1:]
    if len(args) not in (1, 2) or not all(a.isdigit() for a in args):
        fail("usage: gen_lunar_years.py FIRST [LAST]")
    first, last = int(args[0]), int(args[-1])
    if last < first:
        fail(f"{first}..{last}: no years")

    rows = {}
    for r in read_csv(SOURCE):
        year = int(r["lunar_year"])
        if year in rows:
            fail(f"{year}: twice")
        rows[year] = r["row"]
    for year in sorted(rows):
        start, length = new_year_and_length(year, rows[year])
        if year + 1 in rows:
            following, _ = new_year_and_length(year + 1, rows[year + 1])
            if start + timedelta(days=length) != following:
                fail(f"{year}: new year {start} plus {length} days is not the new year of {year + 1}, {following}")
    missing = [y for y in range(first, last + 1) if y not in rows]
    if missing:
        fail(f"{SOURCE} has no row for {missing[0]}")

    span = f"{first}" if first == last else f"{first}..{last}"
    about = [
        "(lunar-javascript 1.7.7, new moons checked against astronomy-engine and astronomia):",
        f"lunar year{'' if first == last else 's'} {span}, 13 month lengths, leap month in hex, new year MMDD.",
    ]
    uncertain = [f"{y} ({UNCERTAIN[y]})" for y in sorted(UNCERTAIN) if first <= y <= last]
    if uncertain:
        about.append(f"New moon within seconds of midnight, day uncertain: {', '.join(uncertain)}.")
    text = header([SOURCE], about, f"src/calendar/lunar_year_{first}_data.inc")
    for y in range(first, last + 1):
        text += f'    "{rows[y]}",  // {y}\n'
    emit(text)


if __name__ == "__main__":
    main()
