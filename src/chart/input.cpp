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
    r.ziDayChange = in.ziDayChange == 0 ? 0 : 23;
    r.applyDaylightSaving = in.daylightSavingTicked;
    return r;
}

namespace {

// The province and place list positions of a record's place text
// "<province item>,<place item>", cut to 14 characters.
std::pair<int, int> PlacePositionsOf(std::string_view place) {
    const std::size_t comma = place.find(',');
    if (comma == std::string_view::npos) return {0, 0};
    const std::string_view province = place.substr(0, comma);
    const std::string_view item = place.substr(comma + 1);
    for (int p = 0; p < kProvinceCount; ++p) {
        if (ProvinceItem(p) != province) continue;
        const std::vector<std::string_view> places = FillPlaceList(p);
        // The whole item first; a cut one by its beginning.
        for (std::size_t i = 0; i < places.size(); ++i)
            if (places[i] == item) return {p, static_cast<int>(i)};
        for (std::size_t i = 0; i < places.size(); ++i)
            if (!item.empty() && places[i].starts_with(item)) return {p, static_cast<int>(i)};
        return {0, 0};
    }
    return {0, 0};
}

}  // namespace

std::optional<InputSelections> SelectionsOfRecord(const ChartRecord& record) {
    const auto date = SplitOleDate(record.birthDate);
    const auto time = SplitOleDate(record.birthTime);
    if (!date || !time || date->day == 0 || date->date.year < kCalendarFirstYear ||
        date->date.year > kCalendarLastYear)
        return std::nullopt;
    InputSelections in;
    const std::string name = Trim(record.name);
    in.nameText = name == "没有名字" ? std::string() : name;
    in.isMale = Trim(record.sex) != "女";
    in.isSolarInput = true;
    in.positions = {date->date.year - kCalendarFirstYear, date->date.month - 1, date->date.day - 1,
                    time->time.hour(), time->time.minute()};
    const std::string place = Trim(record.place);
    std::tie(in.provincePosition, in.placePosition) = PlacePositionsOf(place);
    return in;
}

}  // namespace tl
