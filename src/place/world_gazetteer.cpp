#include "place/world_gazetteer.h"

#include <algorithm>
#include <string_view>

namespace tl {

namespace {

struct WorldCountryRow {
    std::string_view code;
    std::string_view name;
};

struct WorldRegionRow {
    short country;
    std::string_view name;
};

struct WorldCityRow {
    short country;
    short region;
    short zone;
    int longitude;  // 1e-5 degrees
    int latitude;
    std::string_view name;
    std::string_view chinese;
};

#include "place/world_places_data.inc"

constexpr int kCountries = static_cast<int>(std::size(kWorldCountryRows));

// Each country's cities lie together, in the order of the countries.
constexpr bool CitiesFollowTheCountries() {
    for (std::size_t i = 1; i < std::size(kWorldCityRows); ++i)
        if (kWorldCityRows[i].country < kWorldCityRows[i - 1].country) return false;
    for (const auto& c : kWorldCityRows)
        if (c.country < 0 || c.country >= kCountries || kWorldRegionRows[c.region].country != c.country)
            return false;
    return true;
}
static_assert(CitiesFollowTheCountries());

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithLetters(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameLetters(s.substr(0, prefix.size()), prefix);
}

int CountryIndex(std::string_view code) {
    for (int i = 0; i < kCountries; ++i)
        if (SameLetters(kWorldCountryRows[i].code, code)) return i;
    return -1;
}

WorldCity CityOf(const WorldCityRow& r) {
    WorldCity c;
    c.country = kWorldCountryRows[r.country].code;
    c.region = kWorldRegionRows[r.region].name;
    c.latin = r.name;
    c.name = r.chinese.empty() ? r.name : r.chinese;
    c.zone = kWorldZones[r.zone];
    c.longitude = r.longitude / 1e5;
    c.latitude = r.latitude / 1e5;
    return c;
}

// The rows of one country.
std::pair<const WorldCityRow*, const WorldCityRow*> RowsOf(int country) {
    const auto* begin = std::begin(kWorldCityRows);
    const auto* end = std::end(kWorldCityRows);
    const auto* lo = std::lower_bound(begin, end, country, [](const WorldCityRow& r, int c) { return r.country < c; });
    const auto* hi = std::upper_bound(lo, end, country, [](int c, const WorldCityRow& r) { return c < r.country; });
    return {lo, hi};
}

}  // namespace

const std::vector<WorldCountry>& WorldCountries() {
    static const std::vector<WorldCountry> list = [] {
        std::vector<WorldCountry> v;
        for (int i = 0; i < kCountries; ++i) {
            const auto [lo, hi] = RowsOf(i);
            v.push_back({kWorldCountryRows[i].code, kWorldCountryRows[i].name, static_cast<int>(hi - lo)});
        }
        return v;
    }();
    return list;
}

std::optional<WorldCountry> FindCountry(std::string_view code) {
    const int i = CountryIndex(code);
    if (i < 0) return std::nullopt;
    return WorldCountries()[static_cast<std::size_t>(i)];
}

std::vector<WorldCity> CitiesOf(std::string_view code, std::optional<std::string_view> region) {
    std::vector<WorldCity> out;
    const int i = CountryIndex(code);
    if (i < 0) return out;
    const auto [lo, hi] = RowsOf(i);
    for (const auto* r = lo; r != hi; ++r)
        if (!region || kWorldRegionRows[r->region].name == *region) out.push_back(CityOf(*r));
    return out;
}

std::vector<std::string_view> RegionsOf(std::string_view code) {
    std::vector<std::string_view> out;
    const int i = CountryIndex(code);
    if (i < 0) return out;
    for (const auto& r : kWorldRegionRows)
        if (r.country == i && !r.name.empty()) out.push_back(r.name);
    return out;  // the table keeps them sorted
}

std::vector<WorldCity> FindCities(std::string_view code, std::string_view name, std::optional<std::string_view> region) {
    std::vector<WorldCity> out;
    for (const WorldCity& c : CitiesOf(code, region))
        if (c.name == name || SameLetters(c.latin, name)) out.push_back(c);
    return out;
}

std::vector<WorldCity> CitiesStartingWith(std::string_view code, std::string_view prefix, std::size_t limit) {
    std::vector<WorldCity> out;
    for (const WorldCity& c : CitiesOf(code)) {
        if (out.size() >= limit) break;
        if (c.name.starts_with(prefix) || StartsWithLetters(c.latin, prefix)) out.push_back(c);
    }
    return out;
}

}  // namespace tl
