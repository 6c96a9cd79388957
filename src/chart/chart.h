// The chart one run computes: the birth in both calendars, the four pillars
// with their stems and branches, and the luck start. Plain values: every run
// builds a fresh Chart, and nothing changes it afterwards.
#pragma once

#include <string>

#include "calendar/names.h"
#include "calendar/types.h"
#include "place/zone_clock.h"

namespace tl {

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

    // The branch of the hour as the clock showed it, read as standard time
    // (after the daylight saving and zone conversion); the true-solar-time
    // correction does not change it.
    Branch enteredHourBranch = 0;

    // The clock as entered (its Gregorian date, for lunar input the
    // converted date) and how it reads in the birthplace's zone; the
    // instant of birth in Beijing time (UTC+8).
    Date clockDate;
    TimeOfDay clockTime;
    ClockReading clock;
    Date beijingDate;
    TimeOfDay beijingTime;
    // A birth outside China: the year and month pillars, the luck count and
    // the jie notes follow the instant in Beijing time, the day and hour
    // pillars and the lunar date the birthplace's own time (birthTime).
    bool abroad = false;

    ZiDayChange ziDayChange = ZiDayChange::kAt23;
    // Daylight saving time at the entered clock time: whether it was in
    // effect, by how many minutes the clocks were ahead, and whether
    // birthTime was moved back by them; not known at all (and taken as not
    // in effect) when the system's time-zone database is unusable.
    bool daylightSavingKnown = true;
    // When it is not known: the zone and what is wrong with it.
    std::string daylightSavingProblem;
    bool daylightSavingInEffect = false;
    bool daylightSavingApplied = false;
    int daylightSavingMinutes = 0;

    Pillar yearPillar = 0;
    Pillar monthPillar = 0;
    Pillar dayPillar = 0;
    Pillar hourPillar = 0;

    // Stems and branches of the four pillars.
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
    // The date and time the jie are measured against: the year and month
    // pillars, the luck count, the jie moments and the near-jie note.
    Date JieDate() const { return abroad ? beijingDate : BirthDate(); }
    TimeOfDay JieTime() const { return abroad ? beijingTime : birthTime; }

    // Sets the four pillars with their stems and branches.
    void SetPillars(Pillar year, Pillar month, Pillar day, Pillar hour) {
        yearPillar = year;
        monthPillar = month;
        dayPillar = day;
        hourPillar = hour;
        yearStem = StemOf(year);
        monthStem = StemOf(month);
        dayStem = StemOf(day);
        hourStem = StemOf(hour);
        yearBranch = BranchOf(year);
        monthBranch = BranchOf(month);
        dayBranch = BranchOf(day);
        hourBranch = BranchOf(hour);
    }
};

}  // namespace tl
