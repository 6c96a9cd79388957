// `places`: the province list with the numbers `chart --province` takes, or
// one province's places with the numbers `--place` takes and the longitude
// correction of each in minutes.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/json.h"
#include "cli/output.h"
#include "place/gazetteer.h"
#include "place/true_solar_time.h"
#include "place/world_gazetteer.h"

namespace tl::cli {

namespace {

std::string Minutes(float m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(m));
    return buf;
}

std::string Degrees(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.5f", v);
    return buf;
}

}  // namespace

int CmdWorldPlaces(const std::optional<std::string>& country, bool json) {
    std::optional<WorldCountry> found;
    if (country) {
        found = FindCountry(*country);
        if (!found) return Complain("places", "unknown country '" + *country + "': an ISO code that `places --countries` lists", 2);
    }
    std::string out;
    if (json) {
        JsonWriter w(out);
        w.BeginArray();
        if (!found) {
            for (const WorldCountry& c : WorldCountries())
                w.BeginObject().Key("code").String(c.code).Key("name").String(c.name).Key("cities").Int(c.cities).EndObject();
        } else {
            for (const WorldCity& c : CitiesOf(found->code)) {
                w.BeginObject().Key("city").String(c.name).Key("latin").String(c.latin).Key("region").String(c.region);
                w.Key("longitude").Raw(Degrees(c.longitude)).Key("latitude").Raw(Degrees(c.latitude));
                w.Key("zone").String(c.zone).EndObject();
            }
        }
        w.EndArray();
        w.Finish();
    } else if (!found) {
        for (const WorldCountry& c : WorldCountries())
            out += std::string(c.code) + "\t" + std::string(c.name) + "\t" + std::to_string(c.cities) + "\n";
    } else {
        for (const WorldCity& c : CitiesOf(found->code)) {
            out += std::string(c.name) + "\t" + std::string(c.latin) + "\t" + std::string(c.region) + "\t" +
                   Degrees(c.longitude) + "\t" + Degrees(c.latitude) + "\t" + std::string(c.zone) + "\n";
        }
    }
    if (json) out += '\n';
    return WriteOutput(out) ? 0 : OutputFailed("places");
}

int CmdPlaces(std::optional<int> province) {
    std::string out;
    if (!province) {
        for (int p = 0; p < kProvinceCount; ++p) out += std::to_string(p) + "\t" + std::string(ProvinceItem(p)) + "\n";
    } else {
        for (int q = 1; q <= PlaceCount(*province); ++q) {
            out += std::to_string(q) + "\t" + std::string(PlaceItem(*province, q)) + "\t" +
                   Minutes(PlaceCorrection(*province, q)) + "\n";
        }
    }
    return WriteOutput(out) ? 0 : OutputFailed("places");
}

}  // namespace tl::cli
