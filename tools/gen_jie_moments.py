#!/usr/bin/env python3
"""Generate src/calendar/jie_moment_data.inc, the clock times of the jie terms.

Source: data/astro/jie_moments.csv, the moments (UTC+8, to the millisecond) at
which the Sun's apparent longitude reaches each jie, computed with the npm
package astronomia 4.2.0 (VSOP87B, IAU 1980 nutation, observed and predicted
Delta T) and cross-checked against lunar-javascript and astronomy-engine; see
data/astro/README.md.

Each cell is the moment rounded to the nearest minute, except the twelve cells
of 1984 that the almanac printed, which are kept exactly as printed (the
worked examples of the program's pillars and reports rest on them). The
table holds the December jie of the year before FIRST_YEAR, then every month
of FIRST_YEAR..LAST_YEAR; the range is kJieMomentFirstYear..kJieMomentLastYear
of calendar/jie.h and moves with it.

Mended cells: the almanac also printed 小寒 and 立春 of 2021, as 11:55 and
23:08. Those are 32 and 9 minutes later than the moments of every
astronomical source and of the published almanacs (11:23 and 22:59), and
births of January and February 2021 are charted with them: kept as printed,
a birth on 3 February 2021 at 23:00 would get the year pillar 庚子 instead of
辛丑. These cells take the computed moments; MENDED keeps the printed value
beside the computed one, and the generator stops if the data ever give
another minute.

Usage: python3 tools/gen_jie_moments.py > src/calendar/jie_moment_data.inc
"""
from datetime import datetime, timedelta

from table_data import emit, fail, header, read_csv

SOURCE = "data/astro/jie_moments.csv"
TARGET = "src/calendar/jie_moment_data.inc"
FIRST_YEAR, LAST_YEAR = 1900, 2101

PRINTED = {
    (1984, 1): (11, 42), (1984, 2): (23, 19), (1984, 3): (17, 26), (1984, 4): (22, 23),
    (1984, 5): (16, 2), (1984, 6): (20, 9), (1984, 7): (6, 30), (1984, 8): (16, 19),
    (1984, 9): (19, 10), (1984, 10): (10, 44), (1984, 11): (13, 46), (1984, 12): (6, 28),
}

# cell: (as the almanac printed it, the computed moment the table holds)
MENDED = {
    (2021, 1): ((11, 55), (11, 23)),  # 小寒
    (2021, 2): ((23, 8), (22, 59)),   # 立春
}


def main():
    cells = {}
    for row in read_csv(SOURCE):
        y, m = int(row["year"]), int(row["month"])
        if not ((y == FIRST_YEAR - 1 and m == 12) or FIRST_YEAR <= y <= LAST_YEAR):
            continue
        t = datetime.strptime(row["moment_utc8"], "%Y-%m-%d %H:%M:%S.%f")
        r = (t + timedelta(seconds=30)).replace(second=0, microsecond=0)
        if r.date() != t.date():
            fail(f"{y}-{m}: rounding crosses midnight, needs a rule")
        cells[(y, m)] = (r.hour, r.minute)
    wanted = [(FIRST_YEAR - 1, 12)] + [(y, m) for y in range(FIRST_YEAR, LAST_YEAR + 1) for m in range(1, 13)]
    missing = [cell for cell in wanted if cell not in cells]
    if missing:
        fail(f"{SOURCE} lacks {len(missing)} months, first {missing[0]}")
    for cell, (_, computed) in MENDED.items():
        if cells[cell] != computed:
            fail(f"{cell}: the data give {cells[cell]}, the mend expects {computed}")
    cells.update(PRINTED)

    text = header([SOURCE], [
        "(astronomia 4.2.0 moments, UTC+8, rounded to the minute; the almanac's",
        "printed cells of 1984 kept as printed). Mended: 2021 小寒 and 立春, printed",
        "11:55 and 23:08, hold the computed 11:23 and 22:59 (see the generator).",
    ], TARGET)
    h, mi = cells[(FIRST_YEAR - 1, 12)]
    text += f"\nconstexpr JieClock kJieDecember{FIRST_YEAR - 1} = {{{h}, {mi}}};\n\n"
    text += "constexpr JieClock kJieClockTable[kJieMomentYears][12] = {\n"
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        row = ", ".join("{%d, %d}" % cells[(y, m)] for m in range(1, 13))
        text += f"    {{{row}}},  // {y}\n"
    text += "};\n"
    emit(text)


if __name__ == "__main__":
    main()
