// Daylight saving time in China (1919, 1940..1949, 1986..1991), read from
// the system's time-zone database, zone Asia/Shanghai. A birth time written
// down then is ahead of China Standard Time, in which the program computes.
#pragma once

#include "calendar/types.h"

namespace tl {

struct DaylightSaving {
    bool inEffect = false;
    int minutes = 0;  // how far the clocks were ahead, 0 when not in effect

    friend bool operator==(const DaylightSaving&, const DaylightSaving&) = default;
};

// Whether the civil date and time lie in daylight saving time. A clock time
// that never existed (the hour skipped when the clocks went forward) and one
// that happened twice (the hour repeated when they went back) count as
// daylight saving time. A date past the end of its month counts into the
// next. The zone is loaded once, at the first call; without a database or
// the zone every time is standard time.
DaylightSaving DaylightSavingAt(const Date& date, TimeOfDay time);

// False when the system's time-zone database or its zone Asia/Shanghai
// cannot be loaded.
bool DaylightSavingZoneLoaded();

}  // namespace tl
