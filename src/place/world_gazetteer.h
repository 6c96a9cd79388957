// The world list of birthplaces outside China: every country but China
// (whose Hong Kong, Macau and Taiwan the province lists hold) with its
// Chinese name, and its cities with region, longitude, latitude and the
// zone of the time-zone database whose clock they keep.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct WorldCountry {
    std::string_view code;  // ISO 3166-1 alpha-2, "US"
    std::string_view name;  // Chinese, "美国"
    int cities = 0;
};

struct WorldCity {
    std::string_view country;  // ISO code
    std::string_view region;   // first-order division; empty where the list has none
    std::string_view name;     // the Chinese name where the list has one, else the Latin name
    std::string_view latin;    // the Latin name
    std::string_view zone;
    double longitude = 0.0;    // degrees east
    double latitude = 0.0;     // degrees north
};

// The countries, ordered by code.
const std::vector<WorldCountry>& WorldCountries();

// The country of an ISO code, in either case; empty for an unknown code.
std::optional<WorldCountry> FindCountry(std::string_view code);

// The cities of a country, largest first (of one region only when given);
// empty for an unknown code.
std::vector<WorldCity> CitiesOf(std::string_view code, std::optional<std::string_view> region = std::nullopt);

// The regions of a country in alphabetical order, without the empty one.
std::vector<std::string_view> RegionsOf(std::string_view code);

// The cities of a country whose Chinese or Latin name is `name` (Latin
// letters in either case), of the given region when one is given.
std::vector<WorldCity> FindCities(std::string_view code, std::string_view name,
                                  std::optional<std::string_view> region = std::nullopt);

// The cities of a country whose Chinese or Latin name begins with `prefix`
// (Latin letters in either case), largest first; at most `limit`.
std::vector<WorldCity> CitiesStartingWith(std::string_view code, std::string_view prefix, std::size_t limit);

}  // namespace tl
