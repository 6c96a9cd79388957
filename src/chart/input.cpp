#include "chart/input.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "place/gazetteer.h"
#include "place/zone_clock.h"
#include "text/utf8.h"

namespace tl {

namespace {

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(last - first + 1));
    for (int n = first; n <= last; ++n) items.push_back(std::to_string(n));
    return items;
}

// A position when it lies inside a list of `count` items, else -1.
int PositionIn(int position, int count) { return position >= 0 && position < count ? position : -1; }

}  // namespace

std::vector<std::string> InputListItems(InputList list) {
    switch (list) {
        case InputList::Year: return Numbers(kCalendarFirstYear, kCalendarLastYear);
        case InputList::Month: return Numbers(1, 12);
        case InputList::Day: return Numbers(1, 31);
        case InputList::Hour: return Numbers(0, 23);
        case InputList::Minute: return Numbers(0, 59);
    }
    return {};
}

DateTimePositions TodayPositions(const Date& today, TimeOfDay now) {
    DateTimePositions p;
    p.year = PositionIn(today.year - kCalendarFirstYear, kCalendarLastYear - kCalendarFirstYear + 1);
    p.month = PositionIn(today.month - 1, 12);
    p.day = PositionIn(today.day - 1, 31);
    p.hour = PositionIn(now.hour(), 24);
    p.minute = PositionIn(now.minute(), 60);
    return p;
}

std::optional<ChartRequest> ReadRequest(const InputSelections& in) {
    const DateTimePositions& p = in.positions;
    if (p.year < 0) return std::nullopt;
    ChartRequest r;
    r.personName = Trim(in.nameText);
    r.isMale = in.isMale;
    r.isSolarInput = in.isSolarInput;
    r.year = p.year + kCalendarFirstYear;
    // The month, day, hour and minute lists always hold a selection once
    // the window has started; a missing one reads as the first item.
    r.month = std::max(p.month, 0) + 1;
    r.day = std::max(p.day, 0) + 1;
    if (!r.isSolarInput) {
        r.day = std::min(r.day, 30);
        r.isLeapMonth = in.leapTicked;
    }
    r.hour = std::max(p.hour, 0);
    r.minute = std::max(p.minute, 0);
    r.useTrueSolarTime = in.trueSolarTicked;
    r.provinceIndex = in.provincePosition;
    r.placeIndex = in.placePosition + 1;
    r.ziDayChange = in.ziDayChange;
    r.applyDaylightSaving = in.daylightSavingTicked;
    r.world = in.world;
    return r;
}

WorldPlace WorldPlaceOf(const WorldCity& city) {
    WorldPlace p;
    p.country = std::string(city.country);
    p.region = std::string(city.region);
    p.city = std::string(city.name);
    p.zone = std::string(city.zone);
    p.longitude = city.longitude;
    p.latitude = city.latitude;
    return p;
}

std::optional<double> ParseDegrees(std::string_view s, double lo, double hi) {
    if (s.empty() || s.size() > 16) return std::nullopt;
    // No "inf", "nan", blanks, signs other than a leading minus, or
    // exponents.
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (!((c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0))) return std::nullopt;
    }
    double v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

std::optional<WorldPlace> PlaceByLongitude(std::string_view longitude, std::string_view zone) {
    const auto lon = ParseDegrees(longitude, -180.0, 180.0);
    if (!lon || !ZoneKnown(zone)) return std::nullopt;
    WorldPlace p;
    p.zone = std::string(zone);
    p.longitude = *lon;
    return p;
}

}  // namespace tl
