// Small value types shared by every subsystem: stems, branches and pillars as
// integer codes, Gregorian dates and times of day.
#pragma once

#include <compare>
#include <cstdint>

namespace tl {

// Heavenly stem 1..10 (甲 .. 癸); odd stems are yang, even stems yin.
using Stem = int;
// Earthly branch 1..12 (子 .. 亥).
using Branch = int;
// Sexagenary index 1..60 (甲子 = 1 .. 癸亥 = 60).
using Pillar = int;

// 子时换日: when the day pillar changes. At 23:00, the late 子 hour
// belonging to the next day; or at midnight, the civil day keeping its
// pillar until then and the late 子 hour taking its stem from the next day's
// stem.
enum class ZiDayChange : std::uint8_t { kAt23, kAtMidnight };

// The hour at which the day changes, 23 or 0, as files and the command line
// write the rule.
constexpr int ZiDayChangeHour(ZiDayChange z) { return z == ZiDayChange::kAtMidnight ? 0 : 23; }

// A Gregorian calendar date as entered or computed. The day may lie past the
// end of its month (the input window offers 1..31 in every month); such a
// date counts as the matching day of the next month wherever it is computed
// with (see NormalizeDate).
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const Date&, const Date&) = default;
};

// A time of day in whole seconds since midnight, 0 .. 86399.
struct TimeOfDay {
    int seconds = 0;

    static constexpr TimeOfDay Hms(int h, int m, int s = 0) { return {h * 3600 + m * 60 + s}; }
    constexpr int hour() const { return seconds / 3600; }
    constexpr int minute() const { return seconds / 60 % 60; }
    constexpr int second() const { return seconds % 60; }
    // The fraction of a day, as the archive stores times.
    constexpr double fraction() const { return seconds / 86400.0; }

    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
    friend auto operator<=>(const TimeOfDay&, const TimeOfDay&) = default;
};

}  // namespace tl
