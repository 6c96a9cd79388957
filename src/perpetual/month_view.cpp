#include "perpetual/month_view.h"

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"

namespace tl {

namespace {

// Day of the qi (中气) term of each Gregorian month, one row per year: digit
// m plus 15 is the day of month m on which that month's qi falls (大寒 in
// January .. 冬至 in December). The almanac's printed rows (1901..2050),
// which stay authoritative for the day, with the years before and after them
// the civil days of the computed qi moments.
constexpr std::string_view kQiDayTable[] = {
#include "perpetual/qi_day_1900_data.inc"
#include "perpetual/qi_day_data.inc"
#include "perpetual/qi_day_2051_data.inc"
};
static_assert(std::size(kQiDayTable) == kQiDayLastYear - kQiDayFirstYear + 1);

// Every row is 12 digits; digit m plus 15 is a day of month m.
constexpr bool QiTableIsWellFormed() {
    for (std::string_view row : kQiDayTable) {
        if (row.size() != 12) return false;
        for (char c : row)
            if (c < '0' || c > '9') return false;
    }
    return true;
}
static_assert(QiTableIsWellFormed());

constexpr std::string_view kQiNames[12] = {"大寒", "雨水", "春分", "谷雨", "小满", "夏至",
                                           "大暑", "处暑", "秋分", "霜降", "小雪", "冬至"};
constexpr std::string_view kZodiac[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

// n mod m in 1..m (a remainder of 0 read as m), for negative n too.
constexpr int Cycle(long n, int m) {
    const long r = ((n % m) + m) % m;
    return r == 0 ? m : static_cast<int>(r);
}

int Digit(std::string_view row, int month) {
    if (row.size() != 12 || month < 1 || month > 12) return -1;
    return row[static_cast<std::size_t>(month - 1)] - '0';
}

// Sexagenary index of the year a month is titled with: January still
// belongs to the old year, February onwards to the new one.
int TitleYearIndex(int year, int month) { return Cycle(month == 1 ? year - 1864L : year - 1863L, 60); }

}  // namespace

std::string_view QiDays(int year) {
    if (year < kQiDayFirstYear || year > kQiDayLastYear) return {};
    return kQiDayTable[year - kQiDayFirstYear];
}

int yueend(int year, int month) { return DaysInMonth(year, month); }

int wNUM_A(int year, int month, int day) {
    if (month < 1 || month > 12) return day - 1;
    return static_cast<int>(DayNumber({year, month, day}) - DayNumber({year, 1, 1}));
}

int wTO_DAY(int year, int month, int day) { return DayPillar({year, month, day}); }

LunarMonthDay wTO_N(int year, int newYearDay, int day) {
    if (day >= newYearDay) {
        // Days since the new year, walked through the months of the year.
        const auto ly = LunarYearOf(year);
        if (!ly) return {};
        int e = day - newYearDay;
        for (int p = 1; p <= ly->positions; ++p) {
            if (e < ly->lengths[p]) return {ly->MonthAt(p), e + 1, ly->IsLeapAt(p)};
            e -= ly->lengths[p];
        }
        return {};
    }
    // Days until the new year, walked back from the last month of the
    // previous lunar year.
    const auto ly = LunarYearOf(year - 1);
    if (!ly) return {};
    int e = newYearDay - day;
    for (int p = ly->positions; p >= 1; --p) {
        const int n = ly->lengths[p];
        if (e <= n) return {ly->MonthAt(p), n - e + 1, ly->IsLeapAt(p)};
        e -= n;
    }
    return {};
}

std::string_view wjzname(int n) { return PillarName(n); }
std::string_view wn_name(int d) { return LunarDayName(d); }
std::string_view wwnyue(int m) { return m >= 1 && m <= 12 ? NumeralName(m) : std::string_view(); }
std::string_view wn_jei(int m) { return JieName(m); }
std::string_view wn_qi(int m) { return m >= 1 && m <= 12 ? kQiNames[m - 1] : std::string_view(); }
std::string_view wshxiao(int n) { return kZodiac[Cycle(n, 12) - 1]; }

const DayCell& MonthView::Day(int d) const {
    static const DayCell kEmpty;
    if (d < 1 || d > monthLength) return kEmpty;
    return cells[static_cast<std::size_t>(firstColumn + d - 1)];
}

int MonthView::CellOf(const Date& d) const {
    if (d.year != year || d.month != month || d.day < 1 || d.day > monthLength) return -1;
    return firstColumn + d.day - 1;
}

MonthView BuildMonthView(int year, int month) {
    MonthView v;
    v.year = year;
    v.month = month;
    if (month < 1 || month > 12) return v;
    v.firstColumn = Weekday({year, month, 1});
    v.monthLength = yueend(year, month);

    const auto ly = LunarYearOf(year);
    const int newYearDay = ly ? wNUM_A(year, ly->newYear.month, ly->newYear.day) : 0;
    const int firstDay = wNUM_A(year, month, 1);
    const int jieDay = Digit(JieDays(year), month);
    const int qiDigit = Digit(QiDays(year), month);
    const int qiDay = qiDigit < 0 ? -1 : qiDigit + 15;

    for (int d = 1; d <= v.monthLength; ++d) {
        DayCell& cell = v.cells[static_cast<std::size_t>(v.firstColumn + d - 1)];
        cell.dayText = std::to_string(d);
        // The lunar date; the first day of a lunar month shows the month.
        const LunarMonthDay lunar = ly ? wTO_N(year, newYearDay, firstDay + d - 1) : LunarMonthDay{};
        if (lunar.day == 1) {
            if (lunar.isLeapMonth) cell.lunarText = "闰";
            cell.lunarText += wwnyue(lunar.month);
            cell.lunarText += "月";
            cell.highlighted = true;
        } else {
            cell.lunarText = wn_name(lunar.day);
        }
        // The jie and then the qi of the month take the place of the lunar
        // date.
        if (d == jieDay) {
            cell.lunarText = wn_jei(month);
            cell.highlighted = true;
        }
        if (d == qiDay) {
            cell.lunarText = wn_qi(month);
            cell.highlighted = true;
        }
    }

    const int t = TitleYearIndex(year, month);
    v.titleYearName = std::string(wjzname(t)) + "年";
    v.zodiac = wshxiao(t);
    v.jieLine = std::string(wn_jei(month)) + ": " + JieMomentText(year, month);
    return v;
}

std::string DayDetails(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1) return {};
    const int e = wTO_DAY(year, month, day);
    // The jie day itself already belongs to the new month.
    const bool afterJie = day >= JieDay(year, month);
    const long y5 = ((year % 5) + 5) % 5;
    const long prevY5 = (((year - 1) % 5) + 5) % 5;

    long yearIndex;
    long monthIndex;
    if (month >= 3) {
        yearIndex = year - 1863L;
        monthIndex = y5 * 12 + month + (afterJie ? 13 : 12);
    } else if (month == 1) {
        yearIndex = year - 1864L;
        monthIndex = prevY5 * 12 + (afterJie ? 26 : 25);
    } else {  // February: 立春 changes the year
        yearIndex = afterJie ? year - 1863L : year - 1864L;
        monthIndex = afterJie ? y5 * 12 + 15 : prevY5 * 12 + 26;
    }
    if (monthIndex > 60) monthIndex -= 60;
    const int y = Cycle(yearIndex, 60);
    const int m = static_cast<int>(monthIndex);
    // The first double-hour's stem follows the day stem (甲己 → 甲子, ...).
    const int h = ((e + 4) % 5) * 12 + 1;

    std::string text = std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日\r\n";
    text += wjzname(y);
    text += "年 ";
    text += wjzname(m);
    text += "月 ";
    text += wjzname(e);
    text += "日 ";
    text += wjzname(h);
    text += "起时 ";
    return text;
}

}  // namespace tl
