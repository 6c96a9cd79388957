#include "calendar/lunar.h"

#include <array>

#include "calendar/civil.h"

namespace tl {

namespace {

// One row per lunar year, 18 characters: 13 month lengths ("1" = 30 days,
// "0" = 29), the leap month as a hex digit (0 = none) and the Gregorian date
// MMDD of the lunar new year. The almanac's printed rows (1900..2021, one
// of them mended), with the year before them and the years after them
// computed from the lunar new moons.
constexpr std::string_view kLunarYearTable[] = {
#include "calendar/lunar_year_1899_data.inc"
#include "calendar/lunar_year_data.inc"
#include "calendar/lunar_year_2022_data.inc"
};
static_assert(std::size(kLunarYearTable) == kLunarLastYear - kLunarFirstYear + 1);

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr bool RowsAreWellFormed() {
    for (std::string_view row : kLunarYearTable) {
        if (row.size() != 18) return false;
        for (int i = 0; i < 13; ++i)
            if (row[i] != '0' && row[i] != '1') return false;
        const int leap = HexDigit(row[13]);
        if (leap < 0 || leap > 12) return false;
        if (leap == 0 && row[12] != '0') return false;
        for (int i = 14; i < 18; ++i)
            if (row[i] < '0' || row[i] > '9') return false;
    }
    return true;
}
static_assert(RowsAreWellFormed());

constexpr std::array<std::string_view, 30> kDayNames = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

constexpr std::array<std::string_view, 13> kNumerals = {
    "零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};

// Position of month `month` in a year, honouring the leap flag only for the
// year's own leap month.
int PositionOf(const LunarYear& y, int month, bool leap) {
    const int l = y.leapMonth;
    if (l == 0 || month < l) return month;
    if (month == l) return leap ? l + 1 : l;
    return month + 1;
}

}  // namespace

int LunarYear::Days() const {
    int n = 0;
    for (int p = 1; p <= positions; ++p) n += lengths[p];
    return n;
}

int LunarYear::MonthAt(int position) const {
    if (leapMonth == 0 || position <= leapMonth) return position;
    return position - 1;
}

int LunarYear::MonthDays(int month, bool leap) const {
    if (month < 1 || month > 12 || (leap && month != leapMonth)) return 0;
    return lengths[PositionOf(*this, month, leap)];
}

std::string_view LunarYearRow(int year) {
    if (year < kLunarFirstYear || year > kLunarLastYear) return {};
    return kLunarYearTable[year - kLunarFirstYear];
}

std::optional<LunarYear> LunarYearOf(int year) {
    const std::string_view row = LunarYearRow(year);
    if (row.empty()) return std::nullopt;
    LunarYear y;
    y.year = year;
    y.leapMonth = HexDigit(row[13]);
    y.positions = y.leapMonth ? 13 : 12;
    for (int p = 1; p <= y.positions; ++p) y.lengths[p] = row[p - 1] == '1' ? 30 : 29;
    y.newYear = Date{year, (row[14] - '0') * 10 + (row[15] - '0'), (row[16] - '0') * 10 + (row[17] - '0')};
    return y;
}

std::optional<LunarDate> SolarToLunar(const Date& d, bool nextDay) {
    const long n = DayNumber(d) + (nextDay ? 1 : 0);
    const int gregorianYear = DateOfDayNumber(n).year;
    auto ly = LunarYearOf(gregorianYear);
    // Before the lunar new year the date belongs to the previous lunar year,
    // and so does January 2101, after the table's last new year.
    if (!ly || n < DayNumber(ly->newYear)) {
        ly = LunarYearOf(gregorianYear - 1);
        if (!ly) return std::nullopt;
    }
    long e = n - DayNumber(ly->newYear);
    for (int p = 1; p <= ly->positions; ++p) {
        if (e < ly->lengths[p]) {
            return LunarDate{ly->year, ly->MonthAt(p), static_cast<int>(e) + 1, ly->IsLeapAt(p)};
        }
        e -= ly->lengths[p];
    }
    return std::nullopt;  // past the end of the table
}

std::optional<Date> LunarToSolar(const LunarDate& ld, bool lateZi) {
    const auto ly = LunarYearOf(ld.year);
    if (!ly || ld.month < 1 || ld.month > 12) return std::nullopt;
    const int position = PositionOf(*ly, ld.month, ld.isLeapMonth);
    long k = ld.day;
    for (int p = 1; p < position; ++p) k += ly->lengths[p];
    if (lateZi) --k;
    return DateOfDayNumber(DayNumber(ly->newYear) + k - 1);
}

std::string_view LunarDayName(int d) {
    if (d < 1 || d > 30) return {};
    return kDayNames[d - 1];
}

std::string_view NumeralName(int n) {
    if (n < 0 || n > 12) return {};
    return kNumerals[n];
}

std::string YearNumerals(int y) {
    const std::string digits = std::to_string(y);
    std::string out;
    for (char c : digits)
        if (c >= '0' && c <= '9') out += NumeralName(c - '0');
    return out;
}

}  // namespace tl
