// Cross-check of data/places/world_cities.csv: each city's zone compared with
// a reverse zone lookup by its coordinates (npm package tz-lookup 6.1.25,
// CC0), run once by hand, never by the build or the tests:
//   npm pack tz-lookup@6.1.25 && mkdir tzl && tar xzf tz-lookup-6.1.25.tgz -C tzl
//   node tools/check_world_zones.js data/places/world_cities.csv  (from the folder holding tzl/)
// The zone of GeoNames stays in the list; this only reports where they differ.
const tzlookup = require(require('path').resolve('tzl/package/tz.js'));
const fs = require('fs');
const lines = fs.readFileSync(process.argv[2], 'utf8').trim().split('\n').slice(1);
let same = 0, differ = [];
for (const line of lines) {
  const f = line.split(',');  // no quoted fields with commas expected in these columns
  const n = f.length;
  const zone = f[n - 3], lat = parseFloat(f[n - 4]), lon = parseFloat(f[n - 5]);
  const found = tzlookup(lat, lon);
  if (found === zone) same++; else differ.push(`${f[0]} ${f[2]}: ${zone} vs ${found}`);
}
console.log(`${lines.length} cities, ${same} same zone, ${differ.length} differ`);
console.log(differ.slice(0, 400).join('\n'));
