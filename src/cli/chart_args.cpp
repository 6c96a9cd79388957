#include "cli/chart_args.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "text/utf8.h"
#include "place/gazetteer.h"

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

std::optional<int> ParseProvince(std::string_view text) { return ParseIntInRange(text, 0, kProvinceCount - 1); }

std::optional<int> ParsePlaceNumber(std::string_view text) { return ParseIntInRange(text, 1, kLargestPlaceNumber); }

std::optional<int> ParseZiDayChangeHour(std::string_view text) {
    if (text == "23") return 23;
    if (text == "0") return 0;
    return std::nullopt;
}

std::optional<ChartOptions> ParseChartOptions(const Args& args, std::string& error) {
    ChartOptions o;
    o.request.applyDaylightSaving = true;
    bool haveDate = false;
    bool haveTime = false;
    bool leap = false;
    std::optional<std::string> placeText;
    std::string problem;
    auto fail = [&](const std::string& msg) {
        error = msg;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--date") {
            const std::string* v = value();
            if (!v) return fail("--date needs a value YYYY-MM-DD");
            if (!ReadBirthDate(*v, o.request, problem))
                return fail(problem.empty() ? "--date must be YYYY-MM-DD, got '" + *v + "'" : "--date: " + problem);
            haveDate = true;
        } else if (a == "--time") {
            const std::string* v = value();
            if (!v) return fail("--time needs a value HH:MM");
            if (!ReadBirthTime(*v, o.request, problem))
                return fail(problem.empty() ? "--time must be HH:MM, got '" + *v + "'" : "--time: " + problem);
            haveTime = true;
        } else if (a == "--female") {
            o.request.isMale = false;
        } else if (a == "--male") {
            o.request.isMale = true;
        } else if (a == "--lunar") {
            o.request.isSolarInput = false;
        } else if (a == "--leap") {
            leap = true;
        } else if (a == "--true-solar") {
            o.request.useTrueSolarTime = true;
        } else if (a == "--province") {
            const std::string* v = value();
            if (!v) return fail("--province needs a value " + RangeText(0, kProvinceCount - 1));
            const auto p = ParseProvince(*v);
            if (!p) return fail("--province must be " + RangeText(0, kProvinceCount - 1) + ", got '" + *v + "'");
            o.request.provinceIndex = *p;
        } else if (a == "--place") {
            const std::string* v = value();
            if (!v) return fail("--place needs a value");
            placeText = *v;
        } else if (a == "--no-dst") {
            o.request.applyDaylightSaving = false;
        } else if (a == "--zi-day-change") {
            const std::string* v = value();
            const auto hour = v ? ParseZiDayChangeHour(*v) : std::nullopt;
            if (!hour) return fail("--zi-day-change must be 23 or 0" + (v ? ", got '" + *v + "'" : std::string()));
            o.request.ziDayChange = *hour;
        } else if (a == "--name") {
            const std::string* v = value();
            if (!v) return fail("--name needs a value");
            o.rawName = *v;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--gbk") {
            o.gbk = true;
        } else {
            return fail("unknown option '" + a + "'");
        }
    }
    if (!haveDate) return fail("--date is required");
    if (!haveTime) return fail("--time is required");
    if (leap && o.request.isSolarInput) return fail("--leap needs --lunar");
    // The place is a position in the chosen province's list.
    const int province = o.request.provinceIndex;
    if (placeText) {
        const auto q = ParsePlaceNumber(*placeText);
        if (!q || *q > PlaceCount(province)) {
            return fail("--place must be " + RangeText(1, PlaceCount(province)) + " for province " +
                        std::to_string(province) + " (" + std::string(ProvinceItem(province)) + "), got '" +
                        *placeText + "'");
        }
        o.request.placeIndex = *q;
    }
    o.request.isLeapMonth = leap;
    o.request.personName = Trim(o.rawName);
    return o;
}

}  // namespace tl::cli
