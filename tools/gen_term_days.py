#!/usr/bin/env python3
"""Generate rows of the jie-day or qi-day table for a span of years: one text
of 12 digits per year, digit m for Gregorian month m.

  jie: digit m is the day of month m on which its jie (小寒 .. 大雪) falls;
       rows go to src/calendar/jie_day_FIRST_data.inc.
  qi:  digit m plus 15 is the day of month m on which its qi (大寒 .. 冬至)
       falls; rows go to src/calendar/qi_day_FIRST_data.inc.

The day is the civil date of the term's moment in China Standard Time.
Sources: data/astro/jie_moments.csv and qi_moments.csv (the moments, UTC+8,
computed with astronomia 4.2.0) and data/astro/day_tables_2051_2100.csv (the
day rows of both tables for 2051..2100, made from the same moments); see
data/astro/README.md. A year the day-table file holds takes its row from
there; any other year is worked out from the moments. Where both give a row
they must agree, and so must the row and the file's plain-day columns.

One day rests on a moment within a minute of midnight, where the forecast of
Delta T decides the day (see "Uncertain days" in data/astro/README.md): qi
春分 2084, 19 March at 23:59. The table says so when it holds it.

The printed tables of the almanac cover only some years (jie 1900..2050, qi
1901..2050); their includers put generated spans before or after them.

Usage: python3 tools/gen_term_days.py jie|qi FIRST [LAST] > TARGET
  e.g. python3 tools/gen_term_days.py qi 1900 > src/calendar/qi_day_1900_data.inc
       python3 tools/gen_term_days.py check jie|qi TABLE
The second form checks a table copied from the printed almanac: every row of
the span its first line names, each cell equal to the computed day except the
cells data/astro/printed_day_cells.csv lists, which must hold the printed day.
"""
import re
import sys

from table_data import emit, fail, header, read_csv

DAY_TABLES = "data/astro/day_tables_2051_2100.csv"
PRINTED_CELLS = "data/astro/printed_day_cells.csv"
TERMS = {
    # term: (moments file, folder of the table, first day the digit 0 stands for)
    "jie": ("data/astro/jie_moments.csv", "src/calendar", 0),
    "qi": ("data/astro/qi_moments.csv", "src/calendar", 15),
}
# (term, year): the day that rests on a moment at midnight
UNCERTAIN = {("qi", 2084): "春分 on 19 March, 23:59"}
ABOUT = {
    "jie": "digit m is the day of month m on which that month's jie (节) falls.",
    "qi": "digit m plus 15 is the day of month m on which that month's qi (中气) falls.",
}


def digit(term, year, month, day, offset):
    d = day - offset
    if not 0 <= d <= 9:
        fail(f"{term} {year}-{month}: day {day} does not fit one digit")
    return str(d)


def rows_from_moments(term, moments, offset):
    days = {}
    for row in read_csv(moments):
        y, m = int(row["year"]), int(row["month"])
        moment = row["moment_utc8"]  # YYYY-MM-DD hh:mm:ss.fff
        if int(moment[0:4]) != y or int(moment[5:7]) != m:
            fail(f"{term} {y}-{m}: moment {moment} outside its month")
        days.setdefault(y, {})[m] = int(moment[8:10])
    return {y: "".join(digit(term, y, m, d[m], offset) for m in range(1, 13))
            for y, d in days.items() if sorted(d) == list(range(1, 13))}


def rows_from_day_tables(term, offset):
    rows = {}
    for row in read_csv(DAY_TABLES):
        y = int(row["year"])
        digits = row[f"{term}_row"]
        plain = "".join(digit(term, y, m, int(row[f"{term}_day_{m:02d}"]), offset) for m in range(1, 13))
        if digits != plain:
            fail(f"{DAY_TABLES}: {term} {y}: row {digits} but days give {plain}")
        rows[y] = digits
    return rows


def check_printed(term, table):
    """Fails unless the copied table agrees with the moments cell by cell,
    the listed printed cells apart."""
    moments, _, offset = TERMS[term]
    computed = rows_from_moments(term, moments, offset)
    printed = {(int(r["year"]), int(r["month"])): (int(r["printed_day"]), int(r["computed_day"]))
               for r in read_csv(PRINTED_CELLS) if r["term"] == term}
    try:
        with open(table, encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        fail(f"{table}: {e.strerror}")
    span = re.search(r"rows (\d{4})\.\.(\d{4})\.", text.split("\n", 1)[0])
    rows = [(int(y), digits) for digits, y in re.findall(r'^    "(\d{12})",  // (\d{4})$', text, re.M)]
    if not span or [y for y, _ in rows] != list(range(int(span[1]), int(span[2]) + 1)):
        fail(f"{table}: the rows are not the years its first line names, one each in order")
    seen = set()
    for y, digits in rows:
        for m in range(1, 13):
            day, due = int(digits[m - 1]) + offset, int(computed[y][m - 1]) + offset
            if (y, m) in printed:
                seen.add((y, m))
                if (day, due) != printed[(y, m)]:
                    fail(f"{table}: {term} {y}-{m} is day {day} and the moment's {due}; "
                         f"{PRINTED_CELLS} lists printed {printed[(y, m)][0]}, computed {printed[(y, m)][1]}")
            elif day != due:
                fail(f"{table}: {term} {y}-{m} is day {day}, the moment in {moments} falls on day {due}")
    for y, m in sorted(printed.keys() - seen):
        fail(f"{PRINTED_CELLS}: {term} {y}-{m} is not in {table}")


def main():
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "check" and args[1] in TERMS:
        check_printed(args[1], args[2])
        return
    if len(args) not in (2, 3) or args[0] not in TERMS or not all(a.isdigit() for a in args[1:]):
        fail("usage: gen_term_days.py jie|qi FIRST [LAST]")
    term = args[0]
    first = int(args[1])
    last = int(args[-1])
    if last < first:
        fail(f"{first}..{last}: no years")
    moments, folder, offset = TERMS[term]

    computed = rows_from_moments(term, moments, offset)
    tabled = rows_from_day_tables(term, offset)
    for y in sorted(computed.keys() & tabled.keys()):
        if computed[y] != tabled[y]:
            fail(f"{term} {y}: {DAY_TABLES} has {tabled[y]}, {moments} gives {computed[y]}")
    years = range(first, last + 1)
    missing = [y for y in years if y not in tabled and y not in computed]
    if missing:
        fail(f"no {term} days for {missing[0]}")

    sources = [moments] + ([DAY_TABLES] if any(y in tabled for y in years) else [])
    span = f"{first}" if first == last else f"{first}..{last}"
    about = [
        f"{'Row' if first == last else 'Rows'} {span}, each day the civil date of the moment in UTC+8:",
        ABOUT[term],
    ]
    uncertain = [f"{y} {UNCERTAIN[(t, y)]}" for (t, y) in sorted(UNCERTAIN) if t == term and y in years]
    if uncertain:
        about.append(f"Moment within a minute of midnight, day uncertain: {', '.join(uncertain)}.")
    text = header(sources, about, f"{folder}/{term}_day_{first}_data.inc")
    for y in years:
        text += f'    "{tabled.get(y, computed.get(y))}",  // {y}\n'
    emit(text)


if __name__ == "__main__":
    main()
