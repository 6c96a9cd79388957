#include "perpetual/month_view.h"

#include "calendar/civil.h"
#include "calendar/jie.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"

namespace tl {

namespace {

constexpr std::string_view kZodiac[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

// n mod m in 1..m (a remainder of 0 read as m), for negative n too.
constexpr int Cycle(long n, int m) {
    const long r = ((n % m) + m) % m;
    return r == 0 ? m : static_cast<int>(r);
}

// Sexagenary index of the year a month is titled with: January still
// belongs to the old year, February onwards to the new one.
int TitleYearIndex(int year, int month) { return Cycle(month == 1 ? year - 1864L : year - 1863L, 60); }

}  // namespace

int yueend(int year, int month) { return DaysInMonth(year, month); }

int wNUM_A(int year, int month, int day) {
    if (month < 1 || month > 12) return day - 1;
    return static_cast<int>(DayNumber({year, month, day}) - DayNumber({year, 1, 1}));
}

int wTO_DAY(int year, int month, int day) { return DayPillar({year, month, day}); }

LunarMonthDay wTO_N(int year, int newYearDay, int day) {
    // The new year's day of the year's lunar row tells the walk where it
    // starts; a day of the year is a civil date.
    const auto ly = LunarYearOf(day >= newYearDay ? year : year - 1);
    if (!ly) return {};
    const auto lunar = SolarToLunar(DateOfDayNumber(DayNumber({year, 1, 1}) + day), false);
    if (!lunar) return {};
    return {lunar->month, lunar->day, lunar->isLeapMonth};
}

std::string_view wjzname(int n) { return PillarName(n); }
std::string_view wn_name(int d) { return LunarDayName(d); }
std::string_view wwnyue(int m) { return m >= 1 && m <= 12 ? NumeralName(m) : std::string_view(); }
std::string_view wn_jei(int m) { return JieName(m); }
std::string_view wn_qi(int m) { return QiName(m); }
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

    const int jieDay = JieDay(year, month);
    const int qiDay = QiDay(year, month);

    std::optional<LunarDate> lunar;
    for (int d = 1; d <= v.monthLength; ++d) {
        DayCell& cell = v.cells[static_cast<std::size_t>(v.firstColumn + d - 1)];
        cell.dayText = std::to_string(d);
        // The lunar date: the day before's, one day on; from its 29th day
        // on the calendar says whether a new lunar month has begun. The
        // first day of a lunar month shows the month.
        if (lunar && lunar->day < 29) ++lunar->day;
        else lunar = SolarToLunar({year, month, d}, false);
        if (lunar && lunar->day == 1) {
            if (lunar->isLeapMonth) cell.lunarText = "闰";
            cell.lunarText += wwnyue(lunar->month);
            cell.lunarText += "月";
            cell.highlighted = true;
        } else {
            cell.lunarText = wn_name(lunar ? lunar->day : 0);
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
    // The day's year and month pillars are those after its jie: the jie day
    // itself already belongs to the new month. The first double-hour is the
    // 子 hour at midnight, its stem following the day stem.
    const Date date{year, month, day};
    const Pillars dayEnd = ComputePillars(date, TimeOfDay::Hms(23, 59, 59), false);
    const int y = dayEnd.year;
    const int m = dayEnd.month;
    const int e = wTO_DAY(year, month, day);
    const int h = ComputePillars(date, TimeOfDay::Hms(0, 0), false).hour;

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
