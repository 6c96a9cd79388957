#!/usr/bin/env python3
"""Generate src/place/place_correction_data.inc, the longitude corrections of
the birthplace lists.

Source: data/places/place_lon.csv, one row per place of provinces 1..34 in
list order with its WGS-84 longitude and latitude (GeoNames populated places,
or county-unit centre points converted from GCJ-02), how the list's name was
matched, and the successor unit taken for a historical county; see
data/places/README.md.

Each cell is 4 x (east longitude - 120) minutes, the difference between local
mean time and China Standard Time, rounded to hundredths of a minute. The
arithmetic is exact: the longitude's decimal text is read as an integer count
of 1e-5 degrees, so no binary fraction enters, and a half is rounded away from
zero. The cells the program has always printed (北京, 平谷, 香港, 上海, 成都,
乌鲁木齐, 杭州) and the two extremes of the table (抚远 56.60, 乌恰 -179.28)
keep their printed values. A row without a longitude (四川 in the 陕西 list is
not a place) gives 0.

Each generated row carries the place's name, longitude, match and dataset,
and the note of the source row, so the origin of every value stays readable.

Usage: python3 tools/gen_place_corrections.py > src/place/place_correction_data.inc
"""
from table_data import emit, fail, header, read_csv

SOURCE = "data/places/place_lon.csv"
TARGET = "src/place/place_correction_data.inc"
MAX_PLACES = 173
PROVINCES = 34
ROWS = 2265

# (province, place): (name, hundredths of a minute) as printed.
PRINTED = {
    (1, 1): ("北京", -1416),
    (1, 2): ("平谷", -1160),
    (2, 1): ("香港", -2668),
    (6, 1): ("上海", 592),
    (30, 1): ("成都", -6376),
    (31, 1): ("乌鲁木齐", -12928),
    (34, 1): ("杭州", 76),
    (16, 36): ("抚远", 5660),
    (31, 48): ("乌恰", -17928),
}


def decimal_units(text, places):
    """The decimal text as an integer count of 10**-places, exactly."""
    s = text.strip()
    sign = -1 if s.startswith("-") else 1
    s = s.lstrip("+-")
    whole, _, frac = s.partition(".")
    if not whole.isdigit() or (frac and not frac.isdigit()) or len(frac) > places:
        raise ValueError(f"not a decimal with at most {places} places: {text!r}")
    return sign * (int(whole) * 10**places + int((frac + "0" * places)[:places]))


def round_half_away(numerator, denominator):
    q, r = divmod(abs(numerator), denominator)
    if 2 * r >= denominator:
        q += 1
    return q if numerator >= 0 else -q


def correction_hundredths(lon_text):
    lon = decimal_units(lon_text, 5)  # 1e-5 degree
    # 4 x (lon - 120) minutes in 1e-5 minute, to 1e-2 minute.
    return round_half_away(4 * (lon - 120 * 10**5), 1000)


def comment_text(s):
    return " ".join(s.replace("\\", "/").split())


def main():
    rows = read_csv(SOURCE)
    if len(rows) != ROWS:
        fail(f"{SOURCE}: {len(rows)} rows, expected {ROWS}")

    out_rows = []
    expected = (1, 1)
    for row in rows:
        key = (int(row["province"]), int(row["place"]))
        if key != expected and key != (expected[0] + 1, 1):
            fail(f"row {key} out of list order after {expected}")
        if not (1 <= key[0] <= PROVINCES and 1 <= key[1] <= MAX_PLACES):
            fail(f"row {key} outside the table")
        expected = (key[0], key[1] + 1)
        name = row["name"]
        if row["lon"]:
            data = correction_hundredths(row["lon"])
            origin = f'{row["lon"]} {row["source"]}/{row["dataset"]}'
        else:
            if row["source"] != "none":
                fail(f"row {key} has no longitude but source {row['source']}")
            data = None
            origin = "no longitude"
        value = 0 if data is None else data
        if key in PRINTED:
            printed_name, printed = PRINTED[key]
            if printed_name != name:
                fail(f"row {key} is {name}, the printed cell is {printed_name}")
            origin += f"; printed cell kept, data {data / 100:.2f}"
            value = printed
        note = comment_text(row["note"])
        if note:
            origin += f"; {note}"
        out_rows.append((key, name, value, origin))

    missing = [k for k in PRINTED if k not in {r[0] for r in out_rows}]
    if missing:
        fail(f"printed cells without a row: {missing}")

    text = header([SOURCE], [
        "(GeoNames places and county-unit centres, WGS-84): 4 x (east longitude - 120)",
        "minutes, rounded exactly to hundredths, halves away from zero; the cells the",
        "program has always printed are kept as printed.",
    ], TARGET)
    text += "\n// {province, place, hundredths of a minute},  // name, longitude, match/dataset; note\n"
    text += "constexpr PlaceCorrectionRow kPlaceCorrectionRows[] = {\n"
    for (p, q), name, value, origin in out_rows:
        text += f"    {{{p}, {q}, {value}}},  // {name} {origin}\n"
    text += "};\n"
    emit(text)


if __name__ == "__main__":
    main()
