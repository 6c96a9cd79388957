// The chart request: what one run takes from the input window (or from a
// command line), list positions already turned into numbers.
#pragma once

#include <string>

namespace tl {

// The years a chart can be asked for: the input window's year list, and the
// range the command line accepts.
inline constexpr int kFirstInputYear = 1900;
inline constexpr int kLastInputYear = 2020;

struct ChartRequest {
    std::string personName;      // the name box, blanks trimmed
    bool isMale = true;
    bool isSolarInput = true;    // Gregorian (true) or lunar (false) date
    int year = kFirstInputYear;  // kFirstInputYear..kLastInputYear
    int month = 1;               // 1..12
    int day = 1;                 // 1..31 (a lunar day 31 is read as 30)
    bool isLeapMonth = false;    // read for lunar input only
    int hour = 0;                // 0..23
    int minute = 0;              // 0..59
    bool useTrueSolarTime = false;
    int provinceIndex = 0;       // 0..34, 0 = "不考虑"
    int placeIndex = 1;          // 1.. within the province
};

}  // namespace tl
