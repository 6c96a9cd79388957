#include "calendar/jie.h"

#include <array>
#include <cstdlib>

#include "calendar/civil.h"

namespace tl {

namespace {

// Day of month of each jie, one row per year: the k-th digit is the day of
// January..December on which jie k falls. The almanac's printed rows
// (1900..2050) stay authoritative for the day; the years after them are the
// civil days of the computed moments.
constexpr std::string_view kJieDayTable[] = {
#include "calendar/jie_day_data.inc"
#include "calendar/jie_day_2051_data.inc"
};
static_assert(std::size(kJieDayTable) == kJieDayLastYear - kJieDayFirstYear + 1);

struct JieClock {
    unsigned char hour;
    unsigned char minute;
};
constexpr int kJieMomentYears = kJieMomentLastYear - kJieMomentFirstYear + 1;
#include "calendar/jie_moment_data.inc"

constexpr std::array<std::string_view, 12> kJieNames = {
    "小寒", "立春", "惊蛰", "清明", "立夏", "芒种", "小暑", "立秋", "白露", "寒露", "立冬", "大雪"};

// Day of the qi (中气) term of each Gregorian month, one row per year: digit
// m plus 15 is the day of month m on which that month's qi falls (大寒 in
// January .. 冬至 in December). The almanac's printed rows (1901..2050),
// which stay authoritative for the day, with the years before and after them
// the civil days of the computed qi moments.
constexpr std::string_view kQiDayTable[] = {
#include "calendar/qi_day_1900_data.inc"
#include "calendar/qi_day_data.inc"
#include "calendar/qi_day_2051_data.inc"
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

constexpr std::array<std::string_view, 12> kQiNames = {"大寒", "雨水", "春分", "谷雨", "小满", "夏至",
                                                       "大暑", "处暑", "秋分", "霜降", "小雪", "冬至"};
constexpr bool InMomentTable(int year, int month) {
    return year >= kJieMomentFirstYear && year <= kJieMomentLastYear && month >= 1 && month <= 12;
}

// Every row is 12 digits: every jie falls between the 3rd and the 9th of its
// month.
constexpr bool DayTableIsWellFormed() {
    for (std::string_view row : kJieDayTable) {
        if (row.size() != 12) return false;
        for (char c : row)
            if (c < '3' || c > '9') return false;
    }
    return true;
}
static_assert(DayTableIsWellFormed());

}  // namespace

std::string_view JieDays(int year) {
    if (year < kJieDayFirstYear || year > kJieDayLastYear) return {};
    return kJieDayTable[year - kJieDayFirstYear];
}

int JieDay(int year, int month) {
    const std::string_view row = JieDays(year);
    if (row.empty() || month < 1 || month > 12) return 0;
    return row[month - 1] - '0';
}

TimeOfDay JieMoment(int year, int month) {
    if (!InMomentTable(year, month)) return {};
    const JieClock c = kJieClockTable[year - kJieMomentFirstYear][month - 1];
    return TimeOfDay::Hms(c.hour, c.minute);
}

std::string JieMomentText(int year, int month) {
    if (!InMomentTable(year, month)) return {};
    const JieClock c = kJieClockTable[year - kJieMomentFirstYear][month - 1];
    return std::to_string(c.hour) + "时" + std::to_string(c.minute) + "分";
}

std::string_view JieName(int k) {
    if (k < 1 || k > 12) return {};
    return kJieNames[k - 1];
}

std::string_view QiDays(int year) {
    if (year < kQiDayFirstYear || year > kQiDayLastYear) return {};
    return kQiDayTable[year - kQiDayFirstYear];
}

int QiDay(int year, int month) {
    const std::string_view row = QiDays(year);
    if (row.size() != 12 || month < 1 || month > 12) return 0;
    return row[static_cast<std::size_t>(month - 1)] - '0' + 15;
}

std::string_view QiName(int m) { return m >= 1 && m <= 12 ? kQiNames[static_cast<std::size_t>(m - 1)] : std::string_view(); }

std::optional<JieInstant> JieAt(int year, int month) {
    if (year == kJieMomentFirstYear - 1 && month == 12) {
        // 大雪 of 1899, on 7 December.
        return JieInstant{{1899, 12, 7}, TimeOfDay::Hms(kJieDecember1899.hour, kJieDecember1899.minute)};
    }
    if (!InMomentTable(year, month)) return std::nullopt;
    return JieInstant{{year, month, JieDay(year, month)}, JieMoment(year, month)};
}

std::optional<NearJie> NearJieOf(const Date& birth, TimeOfDay t) {
    // Every jie falls between the 3rd and the 9th of its month, so the one
    // a birth can lie close to is its own month's.
    const Date d = NormalizeDate(birth);
    const auto jie = JieAt(d.year, d.month);
    if (!jie) return std::nullopt;
    const long seconds = (d.day - jie->date.day) * 86400L + t.seconds - jie->time.seconds;
    if (std::labs(seconds) > kNearJieMinutes * 60L) return std::nullopt;
    return NearJie{d.month, static_cast<int>(seconds / 60)};
}

}  // namespace tl
