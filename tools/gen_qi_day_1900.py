#!/usr/bin/env python3
"""Generate src/perpetual/qi_day_1900_data.inc, the qi-day row of 1900.

The printed qi-day table of the program starts with 1901, yet the calendar
offers 1900. The 1900 row is computed here in the table's own form: digit m
is the day of Gregorian month m on which its qi term (大寒 .. 冬至) falls,
minus 15, the day taken from the moment in China Standard Time.

Source: ../shared/data/astro/qi_moments.csv (moments UTC+8 to the
millisecond, computed with astronomia 4.2.0; see that folder's README).

Usage: tools/gen_qi_day_1900.py [CSV] > src/perpetual/qi_day_1900_data.inc
"""
import csv
import sys

YEAR = 1900


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "../shared/data/astro/qi_moments.csv"
    days = {}
    with open(path, encoding="utf-8") as f:
        for row in csv.DictReader(f):
            if int(row["year"]) != YEAR:
                continue
            month = int(row["month"])
            moment = row["moment_utc8"]  # YYYY-MM-DD hh:mm:ss.fff
            if int(moment[5:7]) != month:
                sys.exit(f"{YEAR}-{month}: qi outside its month")
            days[month] = int(moment[8:10])
    if sorted(days) != list(range(1, 13)):
        sys.exit(f"{YEAR}: incomplete qi rows")
    digits = ""
    for m in range(1, 13):
        d = days[m] - 15
        if not 0 <= d <= 9:
            sys.exit(f"{YEAR}-{m}: day {days[m]} does not fit one digit")
        digits += str(d)
    print("// Qi-day row of 1900 in the form of qi_day_data.inc, computed from")
    print("// ../shared/data/astro/qi_moments.csv by tools/gen_qi_day_1900.py:")
    print("//   tools/gen_qi_day_1900.py > src/perpetual/qi_day_1900_data.inc")
    print("// Included by month_view.cpp.")
    print(f'    "{digits}",  // {YEAR}')


if __name__ == "__main__":
    main()
