// Reading a birth into a chart request, from the options of `chart` or the
// cells of a `batch` line, with the ranges the input window offers: years
// kCalendarFirstYear..kCalendarLastYear (Gregorian or lunar), months 1..12,
// days 1..31 whatever the month, hours 0..23, minutes 0..59, provinces
// 0..kProvinceCount - 1 and the places of the chosen province's list.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chart/chart.h"
#include "chart/request.h"
#include "text/script.h"

namespace tl::cli {

// What `chart` is asked for: `--date YYYY-MM-DD --time HH:MM [--female]
// [--lunar [--leap]] [--true-solar] [--province N] [--place N] [--name TEXT]
// [--format text|json|gbk|html|md] [--json] [--gbk] [--script hans|hant]`.
// The province is a list position 0..kProvinceCount - 1 (0 = "不考虑", the
// default), the place a number within that province's list (default 1).
// `--json` is `--format json`, `--gbk` is `--format gbk`.
enum class ChartFormat { kText, kJson, kGbk, kHtml, kMarkdown };

// "text", "json", "gbk", "html", "md"; nullopt for any other name.
std::optional<ChartFormat> ChartFormatFromName(std::string_view name);

struct ChartOptions {
    ChartRequest request;
    std::string rawName;  // the name as given, untrimmed (the report shows it as typed)
    ChartFormat format = ChartFormat::kText;
    Script script = Script::kHans;
};

// Strict decimal parse of a whole string into [lo, hi].
std::optional<int> ParseIntInRange(std::string_view s, int lo, int hi);

// "lo..hi", as the messages give a range.
std::string RangeText(int lo, int hi);

// "YYYY-MM-DD" into the request's year, month and day. False when the text
// is not three numbers joined by "-" (`problem` is then empty) or when a
// number is outside its range (`problem` names it, e.g. "year must be
// 1900..2100, got '1899'").
bool ReadBirthDate(std::string_view text, ChartRequest& request, std::string& problem);
// "HH:MM" into the request's hour and minute, likewise ("hour must be
// 0..23, got '24'").
bool ReadBirthTime(std::string_view text, ChartRequest& request, std::string& problem);

// Why the request's date does not exist ("date 1990-02-30 does not exist:
// month 2 of 1990 has 28 days"), or an empty text for a date that does.
std::string ImpossibleDateMessage(const ChartRequest& request);

// A province list position, 0..kProvinceCount - 1.
std::optional<int> ParseProvince(std::string_view text);
// A place number has at most three digits: a larger number is no list
// position at all, while a smaller one may still lie past the end of its
// province's list (see PlaceCount).
inline constexpr int kLargestPlaceNumber = 999;
std::optional<int> ParsePlaceNumber(std::string_view text);

// A birthplace given by its zone and longitude, with an optional latitude
// (an empty text for none). An empty result when all is well, else what is
// wrong, naming the option as `names` spells it ("--zone", "--longitude",
// "--latitude", or the batch columns).
struct PlaceOptionNames {
    std::string_view zone, longitude, latitude;
};
// A birthplace of the world list: an ISO country code, a city's Chinese or
// Latin name and, where the name fits several cities, its region. An empty
// result when exactly one city fits, else what is wrong (an unknown
// country or city, or the cities the name fits).
struct CityOptionNames {
    std::string_view country, city, region;
};
std::string ReadPlaceByCity(std::string_view country, std::string_view city, std::string_view region,
                            const CityOptionNames& names, WorldPlace& place);

std::string ReadPlaceByLongitude(std::string_view zone, std::string_view longitude, std::string_view latitude,
                                 const PlaceOptionNames& names, WorldPlace& place);

}  // namespace tl::cli
