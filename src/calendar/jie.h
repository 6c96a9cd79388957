// The twelve jie (节) terms: on which day of each Gregorian month the month's
// jie falls and at what clock time, China Standard Time, from December 1899
// to December 2101: one year past the calendar's last year, whose births and
// lunar dates reach into January 2101 and count their luck to its jie. Pure
// table lookups, no astronomy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/types.h"
#include "calendar/years.h"

namespace tl {

inline constexpr int kJieDayFirstYear = 1900;
inline constexpr int kJieDayLastYear = 2101;
inline constexpr int kJieMomentFirstYear = 1900;
inline constexpr int kJieMomentLastYear = 2101;
static_assert(kJieDayFirstYear <= kCalendarFirstYear && kJieDayLastYear > kCalendarLastYear);
static_assert(kJieMomentFirstYear <= kCalendarFirstYear && kJieMomentLastYear > kCalendarLastYear);

// The year's 12-digit row (digit k = day of jie k in month k); empty outside
// kJieDayFirstYear..kJieDayLastYear.
std::string_view JieDays(int year);
// Digit `month` of JieDays(year); 0 when there is no such row or month.
int JieDay(int year, int month);
// Clock time of the jie of (year, month), hh:mm:00; 00:00 outside
// kJieMomentFirstYear..kJieMomentLastYear or months 1..12.
TimeOfDay JieMoment(int year, int month);
// The same as text without leading zeros ("16时2分", "6时30分"); empty
// outside the table.
std::string JieMomentText(int year, int month);
// "小寒" .. "大雪" for k = 1..12, else empty.
std::string_view JieName(int k);

inline constexpr int kQiDayFirstYear = 1900;
inline constexpr int kQiDayLastYear = 2100;
static_assert(kQiDayFirstYear <= kCalendarFirstYear && kQiDayLastYear >= kCalendarLastYear);

// The year's 12-digit qi-day row: digit m plus 15 is the day of Gregorian
// month m on which that month's qi (中气) falls. Empty outside
// kQiDayFirstYear..kQiDayLastYear.
std::string_view QiDays(int year);
// The day of month `month` on which its qi falls; 0 when there is no such
// row or month.
int QiDay(int year, int month);
// "大寒" .. "冬至", the qi of Gregorian month m = 1..12, else empty.
std::string_view QiName(int m);

// The full moment of the jie of Gregorian month (year, month): its day from
// the day table and its clock time. Known for December 1899 (the one jie
// before 1900 a backward count can need) and every month of
// kJieMomentFirstYear..kJieMomentLastYear.
struct JieInstant {
    Date date;
    TimeOfDay time;
};
std::optional<JieInstant> JieAt(int year, int month);

// A birth close to the jie that decides its month pillar (and at 立春 its
// year pillar): the jie k (1..12, see JieName) of the birth's month and the
// distance from its moment in whole minutes, negative before it.
struct NearJie {
    int term = 0;
    int minutes = 0;

    friend bool operator==(const NearJie&, const NearJie&) = default;
};
inline constexpr int kNearJieMinutes = 15;
// The jie of the birth's month when the birth lies within kNearJieMinutes
// of its moment (a date past the end of its month counts into the next);
// empty otherwise or outside the tables.
std::optional<NearJie> NearJieOf(const Date& birth, TimeOfDay t);

}  // namespace tl
