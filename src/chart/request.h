// The chart request: what one run takes from the input window (or from a
// command line), list positions already turned into numbers.
#pragma once

#include <optional>
#include <string>

#include "calendar/types.h"
#include "calendar/years.h"

namespace tl {

// A birthplace outside China's province lists: a city of the world list or
// a place given by its longitude, with the zone of the time-zone database
// whose clock it kept.
struct WorldPlace {
    std::string country;  // ISO 3166 code; empty for a place given by longitude
    std::string region;   // the city's region, as the world list names it
    std::string city;     // the city's name
    std::string zone;     // e.g. "America/New_York"
    double longitude = 0.0;           // degrees, east positive
    std::optional<double> latitude;   // degrees, north positive

    friend bool operator==(const WorldPlace&, const WorldPlace&) = default;
};

struct ChartRequest {
    std::string personName;         // the name box, blanks trimmed
    bool isMale = true;
    bool isSolarInput = true;       // Gregorian (true) or lunar (false) date
    int year = kCalendarFirstYear;  // kCalendarFirstYear..kCalendarLastYear, either calendar
    int month = 1;                  // 1..12
    int day = 1;                    // 1..31 (a lunar day 31 is read as 30)
    bool isLeapMonth = false;       // read for lunar input only
    int hour = 0;                   // 0..23
    int minute = 0;                 // 0..59
    bool useTrueSolarTime = false;
    int provinceIndex = 0;          // 0..34, 0 = "不考虑"
    int placeIndex = 1;             // 1.. within the province
    ZiDayChange ziDayChange = ZiDayChange::kAt23;
    // Move a clock time in daylight saving time back to standard time (the
    // input window's "夏令时" box; the command line's default).
    bool applyDaylightSaving = false;
    // Set for a birth outside China; the province and place are then not
    // read.
    std::optional<WorldPlace> world = std::nullopt;
};

}  // namespace tl
