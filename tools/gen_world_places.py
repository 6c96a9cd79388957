#!/usr/bin/env python3
"""Generate src/place/world_places_data.inc, the world list of birthplaces
outside China.

Sources: data/places/world_countries.csv (ISO 3166 code and Chinese name of
each country) and data/places/world_cities.csv (its cities, largest first:
region, GeoNames name, Chinese name where CLDR has one, longitude, latitude,
zone of the tz database), both prepared by tools/prepare_world_places.py;
see data/places/README.md.

The table holds the zone and region names once each and the cities as rows
of indexes into them, with longitude and latitude in 1e-5 degrees read
exactly from the decimal text.

Usage: python3 tools/gen_world_places.py > src/place/world_places_data.inc
"""
from table_data import emit, fail, header, read_csv

COUNTRIES = "data/places/world_countries.csv"
CITIES = "data/places/world_cities.csv"
TARGET = "src/place/world_places_data.inc"


def fixed5(text):
    """A decimal text with at most five decimals as an integer of 1e-5."""
    sign = -1 if text.startswith("-") else 1
    whole, _, frac = text.lstrip("-").partition(".")
    if not whole.isdigit() or (frac and not frac.isdigit()) or len(frac) > 5:
        fail(f"bad degrees '{text}'")
    return sign * (int(whole) * 100000 + int((frac + "00000")[:5]))


def literal(s):
    if '"' in s or "\\" in s or "\n" in s:
        fail(f"unexpected character in '{s}'")
    return f'"{s}"'


def main():
    countries = read_csv(COUNTRIES)
    cities = read_csv(CITIES)
    codes = [c["code"] for c in countries]
    if codes != sorted(codes) or len(set(codes)) != len(codes):
        fail("countries must be sorted and unique")
    index = {code: i for i, code in enumerate(codes)}
    zones = sorted({c["zone"] for c in cities})
    regions = sorted({(c["country"], c["region"]) for c in cities})
    zone_index = {z: i for i, z in enumerate(zones)}
    region_index = {r: i for i, r in enumerate(regions)}

    out = [header([COUNTRIES, CITIES],
                  ["(GeoNames cities, CC BY 4.0; Chinese names from CLDR, Unicode licence): the countries",
                   "with their Chinese names, the zones and regions, and the cities, each country's",
                   "largest first; degrees in 1e-5."], TARGET)]
    out.append("constexpr WorldCountryRow kWorldCountryRows[] = {")
    for c in countries:
        out.append(f"    {{{literal(c['code'])}, {literal(c['name'])}}},")
    out.append("};")
    out.append("")
    out.append("constexpr std::string_view kWorldZones[] = {")
    for z in zones:
        out.append(f"    {literal(z)},")
    out.append("};")
    out.append("")
    out.append("// {country, region name}")
    out.append("constexpr WorldRegionRow kWorldRegionRows[] = {")
    for country, region in regions:
        if country not in index:
            fail(f"city of unknown country {country}")
        out.append(f"    {{{index[country]}, {literal(region)}}},  // {country}")
    out.append("};")
    out.append("")
    out.append("// {country, region, zone, longitude, latitude, name, Chinese name}")
    out.append("constexpr WorldCityRow kWorldCityRows[] = {")
    last = None
    for c in cities:
        key = (index[c["country"]], -int(c["population"]))
        if last is not None and key < last:
            fail(f"cities out of order at {c['city']}")
        last = key
        lon, lat = fixed5(c["longitude"]), fixed5(c["latitude"])
        if not (-18000000 <= lon <= 18000000 and -9000000 <= lat <= 9000000):
            fail(f"{c['city']}: coordinates out of range")
        out.append(f"    {{{index[c['country']]}, {region_index[(c['country'], c['region'])]}, "
                   f"{zone_index[c['zone']]}, {lon}, {lat}, {literal(c['city'])}, {literal(c['chinese'])}}},")
    out.append("};")
    emit("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
