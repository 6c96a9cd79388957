#include "chart/run.h"

#include <algorithm>
#include <string>

#include "analysis/attributes.h"
#include "analysis/luck_start.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "chart/utf8.h"

namespace tl {

namespace {

void StorePillars(Chart& c) {
    const Pillars p = ComputePillars(c.BirthDate(), c.birthTime);
    c.yearPillar = p.year;
    c.monthPillar = p.month;
    c.dayPillar = p.day;
    c.hourPillar = p.hour;
}

}  // namespace

Chart RunCalendar(const ChartRequest& r) {
    Chart c;
    c.isMale = r.isMale;
    c.isSolarInput = r.isSolarInput;
    c.birthTime = TimeOfDay::Hms(r.hour, r.minute);
    c.enteredHourBranch = HourBranch(r.hour);
    // The late 子 hour as entered moves the converted date one day on.
    const bool enteredLateZi = r.hour == 23;

    if (r.isSolarInput) {
        c.birthYear = r.year;
        c.birthMonth = r.month;
        c.birthDay = r.day;
        // (True solar time is applied here.)
        StorePillars(c);
        if (const auto lunar = SolarToLunar(c.BirthDate(), enteredLateZi)) {
            c.lunarYear = lunar->year;
            c.lunarMonth = lunar->month;
            c.lunarDay = lunar->day;
            c.isLeapMonth = lunar->isLeapMonth;
        }
    } else {
        c.lunarYear = r.year;
        c.lunarMonth = r.month;
        c.lunarDay = std::min(r.day, 30);
        c.isLeapMonth = r.isLeapMonth;
        if (const auto solar = LunarToSolar({c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth}, enteredLateZi)) {
            c.birthYear = solar->year;
            c.birthMonth = solar->month;
            c.birthDay = solar->day;
        }
        // (True solar time is applied here; the lunar date stays as entered.)
        StorePillars(c);
    }

    DeriveNatalAttributes(c);
    ComputeLuckStart(c);
    return c;
}

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

}  // namespace tl
