#include "calendar/civil.h"

namespace tl {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (month 1..12, any day).
long DaysFromCivil(long y, unsigned m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468 + (d - 1);
}

constexpr long kDay1900 = -25567;  // DaysFromCivil(1900, 1, 1)

}  // namespace

bool IsGregorianLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && IsGregorianLeapYear(year) ? 1 : 0);
}

long DayNumber(const Date& d) {
    return DaysFromCivil(d.year, static_cast<unsigned>(d.month), d.day) - kDay1900;
}

Date DateOfDayNumber(long n) {
    long z = n + kDay1900 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

Date NormalizeDate(const Date& d) {
    // Every month has its first 28 days.
    if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 28) return d;
    return DateOfDayNumber(DayNumber(d));
}

int DayOfYear(const Date& d) {
    const Date n = NormalizeDate(d);
    return static_cast<int>(DayNumber(n) - DayNumber(Date{n.year, 1, 1}));
}

int Weekday(const Date& d) {
    // 1 January 1900 was a Monday.
    const long w = (DayNumber(d) + 1) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

}  // namespace tl
