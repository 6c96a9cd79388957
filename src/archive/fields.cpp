#include "archive/fields.h"

#include <string>
#include <tuple>

#include "calendar/years.h"
#include "place/gazetteer.h"
#include "text/utf8.h"

namespace tl {

ChartRecord ArchiveFields(const Chart& c, std::string_view personName, std::string_view provinceItem,
                          std::string_view placeItem) {
    ChartRecord rec;
    const std::string name = Trim(personName);
    rec.name = FitChars(name.empty() ? std::string_view("没有名字") : std::string_view(name), 12);
    rec.sex = c.isMale ? "男 " : "女 ";
    rec.place = FitChars(std::string(provinceItem) + "," + std::string(placeItem), 14);
    rec.birthDate = OleDate(c.BirthDate());
    rec.birthTime = c.birthTime.fraction();
    rec.deleted = 0;
    return rec;
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
