// The perpetual calendar's month model: one Gregorian month (1900..2100) as
// a grid of day cells with lunar dates and solar terms, the sexagenary year
// and zodiac of the month, the moment of its jie term, and the sexagenary
// year, month, day and first double-hour of any day. Pure functions of their
// arguments and the constant tables.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calendar/types.h"
#include "calendar/years.h"

namespace tl {

// Days of Gregorian month `month`: 31, 30, or for February 29 in a year
// divisible by 400, or by 4 but not by 100, else 28. 0 for a month outside
// 1..12. The civil calendar's DaysInMonth.
int yueend(int year, int month);
// Zero-based day of the year (1 January is 0): the days of the months
// before `month` and the days of `month` before `day`, a day past the end of
// its month counting on. Only the day counts for a month outside 1..12.
int wNUM_A(int year, int month, int day);
// Sexagenary index 1..60 of a day, the day changing at midnight.
int wTO_DAY(int year, int month, int day);

struct LunarMonthDay {
    int month = 0;  // 1..12, 0 when the table has no answer
    int day = 0;    // 1..30
    bool isLeapMonth = false;

    friend bool operator==(const LunarMonthDay&, const LunarMonthDay&) = default;
};
// The lunar month, day and leap flag of a date of `year`, given as two
// wNUM_A numbers of that year: the lunar new year of the year's row and the
// date itself. On or after the new year the months of the year's row are
// walked forwards; before it, those of the previous year's row backwards
// from its last month. All zero when the rows are missing.
LunarMonthDay wTO_N(int year, int newYearDay, int day);

// Name lists; each gives empty text for an argument outside its range.
std::string_view wjzname(int n);  // 1..60: 甲子 .. 癸亥
std::string_view wn_name(int d);  // 1..30: 初一 .. 三十
std::string_view wwnyue(int m);   // 1..12: 一 .. 十二
std::string_view wn_jei(int m);   // 1..12: 小寒 .. 大雪, the jie of month m
std::string_view wn_qi(int m);    // 1..12: 大寒 .. 冬至, the qi of month m
std::string_view wshxiao(int n);  // any year index: n mod 12 (0 as 12) → 鼠 .. 猪

// One cell of the month grid. A cell without a day has two empty texts.
struct DayCell {
    std::string dayText;    // "1" .. "31"
    std::string lunarText;  // lunar day, "一月"/"闰七月" on a lunar month's first day, or the term of the day
    bool highlighted = false;  // first day of a lunar month, or a jie or qi day

    friend bool operator==(const DayCell&, const DayCell&) = default;
};

inline constexpr int kMonthCells = 39;

struct MonthView {
    int year = 0;
    int month = 0;
    int firstColumn = 0;  // weekday of day 1, Sunday 0 .. Saturday 6
    int monthLength = 0;  // 28..31
    // Row by row, seven to a row, Sunday first; day d in cell
    // firstColumn + d - 1.
    std::array<DayCell, kMonthCells> cells;
    std::string titleYearName;  // "戊子年": all of February counts in the new year
    std::string zodiac;         // "鼠"
    std::string jieLine;        // "立春: 16时2分"

    // The cell of day d; an empty cell for a day outside 1..monthLength.
    const DayCell& Day(int d) const;
    // The index of the cell of a Gregorian date, -1 when the date lies
    // outside this month.
    int CellOf(const Date& d) const;
};

// The month view of (year, month). A month outside 1..12 gives an empty
// grid.
MonthView BuildMonthView(int year, int month);

// Two lines, CR LF between them: "2008年2月4日" and the sexagenary year,
// month, day and first double-hour of that day, each followed by its unit
// and one space ("戊子年 甲寅月 甲戌日 甲子起时 "). The jie day itself
// already belongs to the new month, and in February to the new year.
std::string DayDetails(int year, int month, int day);

}  // namespace tl
