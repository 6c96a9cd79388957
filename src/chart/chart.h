// The chart request read from the input window and the chart one run
// computes from it. Plain values: every run builds a fresh Chart.
#pragma once

#include <string>

#include "calendar/types.h"

namespace tl {

// What one run takes from the input window, list positions already turned
// into numbers.
struct ChartRequest {
    std::string personName;   // the name box, blanks trimmed
    bool isMale = true;
    bool isSolarInput = true;  // Gregorian (true) or lunar (false) date
    int year = 1900;           // 1900..2020
    int month = 1;             // 1..12
    int day = 1;               // 1..31 (a lunar day 31 is read as 30)
    bool isLeapMonth = false;  // read for lunar input only
    int hour = 0;              // 0..23
    int minute = 0;            // 0..59 (0 only when the minute list has no selection)
    bool useTrueSolarTime = false;
    int provinceIndex = 0;     // 0..34, 0 = "不考虑"
    int placeIndex = 1;        // 1.. within the province
};

struct Chart {
    bool isSolarInput = true;
    bool isMale = true;

    // Gregorian birth date, after any day moved by the true-solar-time
    // correction. A date past the end of its month is kept as entered and
    // counts as the matching day of the next month.
    int birthYear = 0;
    int birthMonth = 0;
    int birthDay = 0;
    // Entered hour and minute, or the true solar time with seconds.
    TimeOfDay birthTime;

    int lunarYear = 0;
    int lunarMonth = 0;
    int lunarDay = 0;
    bool isLeapMonth = false;

    // The branch of the hour as entered; no correction changes it.
    Branch enteredHourBranch = 0;

    Pillar yearPillar = 0;
    Pillar monthPillar = 0;
    Pillar dayPillar = 0;
    Pillar hourPillar = 0;

    // Stems and branches of the four pillars (DeriveNatalAttributes).
    Stem yearStem = 0, monthStem = 0, dayStem = 0, hourStem = 0;
    Branch yearBranch = 0, monthBranch = 0, dayBranch = 0, hourBranch = 0;

    // Luck start (ComputeLuckStart).
    bool luckForward = false;
    int luckStartYears = 0;
    int luckStartMonths = 0;
    int luckStartDays = 0;
    int luckStartHours = 0;
    Pillar firstLuckPillar = 0;

    Date BirthDate() const { return {birthYear, birthMonth, birthDay}; }
};

}  // namespace tl
