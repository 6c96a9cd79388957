#include "chart/input.h"

#include <algorithm>
#include <tuple>

#include "place/gazetteer.h"
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
    return r;
}

}  // namespace tl
