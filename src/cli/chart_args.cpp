#include "cli/chart_args.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "chart/date_check.h"
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

}  // namespace tl::cli
