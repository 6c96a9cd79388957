#include "cli/chart_args.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "chart/date_check.h"
#include "chart/input.h"
#include "place/gazetteer.h"
#include "place/world_gazetteer.h"
#include "place/zone_clock.h"

namespace tl::cli {

std::optional<int> ParseIntInRange(std::string_view s, int lo, int hi) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s[0] == '-' || s[0] == '+') return std::nullopt;
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

std::string RangeText(int lo, int hi) { return std::to_string(lo) + ".." + std::to_string(hi); }

namespace {

struct NumberField {
    const char* name;
    int lo;
    int hi;
    int ChartRequest::*value;
};

// Reads as many numbers joined by `sep` as there are fields, each into its
// field of the request. False for another count of numbers (`problem`
// empty) or a number outside its field's range (`problem` names it).
bool ReadNumbers(std::string_view text, char sep, std::span<const NumberField> fields, ChartRequest& r,
                 std::string& problem) {
    problem.clear();
    if (static_cast<std::size_t>(std::count(text.begin(), text.end(), sep)) + 1 != fields.size()) return false;
    for (const NumberField& f : fields) {
        const std::string_view part = text.substr(0, text.find(sep));
        const auto v = ParseIntInRange(part, f.lo, f.hi);
        if (!v) {
            problem = std::string(f.name) + " must be " + RangeText(f.lo, f.hi) + ", got '" + std::string(part) + "'";
            return false;
        }
        r.*f.value = *v;
        text.remove_prefix(std::min(part.size() + 1, text.size()));
    }
    return true;
}

}  // namespace

bool ReadBirthDate(std::string_view text, ChartRequest& r, std::string& problem) {
    static constexpr NumberField kDate[] = {{"year", kCalendarFirstYear, kCalendarLastYear, &ChartRequest::year},
                                            {"month", 1, 12, &ChartRequest::month},
                                            {"day", 1, 31, &ChartRequest::day}};
    return ReadNumbers(text, '-', kDate, r, problem);
}

bool ReadBirthTime(std::string_view text, ChartRequest& r, std::string& problem) {
    static constexpr NumberField kTime[] = {{"hour", 0, 23, &ChartRequest::hour},
                                            {"minute", 0, 59, &ChartRequest::minute}};
    return ReadNumbers(text, ':', kTime, r, problem);
}

std::string ImpossibleDateMessage(const ChartRequest& r) {
    const std::optional<DateProblem> problem = ImpossibleDate(r);
    if (!problem) return {};
    auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    const std::string calendar = r.isSolarInput ? "" : "lunar ";
    const std::string month = calendar + (r.isLeapMonth ? "leap " : "") + "month " + std::to_string(r.month) +
                              " of " + std::to_string(r.year);
    std::string text = calendar + "date " + std::to_string(r.year) + "-" + two(r.month) + "-" + two(r.day) +
                       (r.isLeapMonth ? " (leap month)" : "") + " does not exist: ";
    switch (problem->kind) {
        case DateProblem::Kind::DayPastMonthEnd:
            return text + month + " has " + std::to_string(problem->monthDays) + " days";
        case DateProblem::Kind::NoLeapMonth: return text + "lunar " + std::to_string(r.year) + " has no leap month";
        case DateProblem::Kind::OtherLeapMonth:
            return text + "the leap month of lunar " + std::to_string(r.year) + " is month " +
                   std::to_string(problem->leapMonth);
    }
    return text;
}

std::optional<ChartFormat> ChartFormatFromName(std::string_view name) {
    static constexpr struct {
        std::string_view name;
        ChartFormat format;
    } kFormats[] = {{"text", ChartFormat::kText},
                    {"json", ChartFormat::kJson},
                    {"gbk", ChartFormat::kGbk},
                    {"html", ChartFormat::kHtml},
                    {"md", ChartFormat::kMarkdown}};
    for (const auto& f : kFormats)
        if (f.name == name) return f.format;
    return std::nullopt;
}

std::optional<int> ParseProvince(std::string_view text) { return ParseIntInRange(text, 0, kProvinceCount - 1); }

std::optional<int> ParsePlaceNumber(std::string_view text) { return ParseIntInRange(text, 1, kLargestPlaceNumber); }

std::string ReadPlaceByLongitude(std::string_view zone, std::string_view longitude, std::string_view latitude,
                                 const PlaceOptionNames& names, WorldPlace& place) {
    if (zone.empty() || longitude.empty())
        return std::string(names.zone) + " and " + std::string(names.longitude) + " go together";
    if (!ZoneKnown(zone))
        return "unknown zone '" + std::string(zone) + "' for " + std::string(names.zone) +
               ": a zone of the time-zone database, e.g. America/New_York (" + ZoneProblem(zone) + ")";
    const auto lon = ParseDegrees(longitude, -180.0, 180.0);
    if (!lon)
        return std::string(names.longitude) + " must be -180..180 degrees (east positive), got '" +
               std::string(longitude) + "'";
    place = WorldPlace{};
    place.zone = std::string(zone);
    place.longitude = *lon;
    if (!latitude.empty()) {
        const auto lat = ParseDegrees(latitude, -90.0, 90.0);
        if (!lat)
            return std::string(names.latitude) + " must be -90..90 degrees (north positive), got '" +
                   std::string(latitude) + "'";
        place.latitude = *lat;
    }
    return {};
}

}  // namespace tl::cli

namespace tl::cli {

std::string ReadPlaceByCity(std::string_view country, std::string_view city, std::string_view region,
                            const CityOptionNames& names, WorldPlace& place) {
    if (country.empty() || city.empty())
        return std::string(names.country) + " and " + std::string(names.city) + " go together";
    const auto found = FindCountry(country);
    if (!found)
        return "unknown country '" + std::string(country) + "' for " + std::string(names.country) +
               ": an ISO code that `places --countries` lists";
    std::optional<std::string_view> inRegion;
    if (!region.empty()) inRegion = region;
    const std::vector<WorldCity> cities = FindCities(found->code, city, inRegion);
    if (cities.empty()) {
        return "no city '" + std::string(city) + "'" + (region.empty() ? "" : " in region '" + std::string(region) + "'") +
               " in " + std::string(found->code) + " for " + std::string(names.city) + ": `places --country " +
               std::string(found->code) + "` lists them";
    }
    if (cities.size() > 1) {
        std::string message = "'";
        message.append(city).append("' fits ").append(std::to_string(cities.size())).append(" cities of ");
        message.append(found->code).append(", give ").append(names.region).append(":");
        for (const WorldCity& c : cities) {
            message.append(" ").append(c.latin).append(" (").append(c.region.empty() ? "-" : c.region).append(")");
            if (&c != &cities.back()) message += ';';
        }
        return message;
    }
    place = WorldPlaceOf(cities.front());
    return {};
}

}  // namespace tl::cli
