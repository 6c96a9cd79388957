#!/usr/bin/env python3
"""Validates the JSON of tenglan-cli against docs/chart.schema.json: chart
--json for births across the calendar's range (both sexes and calendars,
true solar time, both 子 rules), and batch lines plain, with --values and
with --report. Exits 1 on the first output the schema refuses, and when the
schema accepts an output with a member misspelt (so that it can refuse).

    json_schema_test.py TENGLAN_CLI SCHEMA
"""
import json
import os
import random
import subprocess
import sys
import tempfile

import jsonschema


def main():
    cli, schema_path = sys.argv[1], sys.argv[2]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    jsonschema.Draft202012Validator.check_schema(schema)
    rng = random.Random(18)
    outputs = []
    csv = ["name,sex,calendar,date,time,province,place,truesolar,zi"]
    for i in range(40):
        y, m, d = rng.randint(1900, 2099), rng.randint(1, 12), rng.randint(1, 28)
        h, mi = rng.randint(0, 23), rng.randint(0, 59)
        args = ["chart", "--json", "--date", f"{y:04d}-{m:02d}-{d:02d}", "--time", f"{h:02d}:{mi:02d}",
                "--name", f"张{i}"]
        if i % 2:
            args.append("--female")
        if i % 5 == 1:
            args.append("--lunar")
        if i % 3 == 0:
            args += ["--true-solar", "--province", str(1 + i % 34), "--place", "1"]
        if i % 4 == 0:
            args += ["--zi-day-change", "0"]
        out = subprocess.run([cli] + args, capture_output=True, check=True, text=True).stdout
        outputs.append((" ".join(args), json.loads(out)))
        csv.append(f"李{i},{'女' if i % 2 else '男'},{'农历' if i % 5 == 1 else '公历'},{y}-{m:02d}-{d:02d},"
                   f"{h}:{mi:02d},{i % 3},1,{i % 2},{23 if i % 4 else 0}")
    # Births abroad, by city and by zone and longitude, and one whose zone
    # file is missing (daylight saving time unknown).
    empty = tempfile.mkdtemp()
    for args, env in ((["--country", "US", "--city", "纽约"], None),
                      (["--zone", "Europe/Paris", "--longitude", "2.35", "--latitude", "48.86", "--true-solar"], None),
                      (["--province", "1", "--place", "1"], dict(os.environ, TZDIR=empty))):
        args = ["chart", "--json", "--date", "1988-07-01", "--time", "08:00"] + args
        out = subprocess.run([cli] + args, capture_output=True, check=True, text=True, env=env).stdout
        outputs.append((" ".join(args), json.loads(out)))
    os.rmdir(empty)
    if outputs[-1][1]["daylightSaving"] is not None:
        print("a missing zone file leaves daylight saving time known")
        return 1
    for option in ([], ["--values"], ["--report"], ["--values", "--report"]):
        out = subprocess.run([cli, "batch"] + option, input="\n".join(csv) + "\n", capture_output=True,
                             check=True, text=True).stdout
        outputs += [("batch " + " ".join(option), json.loads(line)) for line in out.splitlines()]
    for what, value in outputs:
        errors = sorted(validator.iter_errors(value), key=str)
        if errors:
            print(f"{what}: {errors[0].message} at {list(errors[0].absolute_path)}")
            return 1
    # The schema must refuse what it does not describe.
    wrong = json.loads(json.dumps(outputs[0][1]))
    wrong["natal"]["year"]["tenGods"] = wrong["natal"]["year"].pop("tenGod")
    if validator.is_valid(wrong):
        print("the schema accepts a misspelt member")
        return 1
    print(f"{len(outputs)} outputs valid")
    return 0


if __name__ == "__main__":
    sys.exit(main())
