// The solar months (节月) of a pillar year: the 寅 month from 立春 to 惊蛰
// through the 丑 month from 小寒 to the next 立春, each opened by a jie and
// carrying the month pillar of its stretch of time.
#pragma once

#include <optional>

#include "calendar/jie.h"
#include "calendar/types.h"

namespace tl {

struct SolarMonth {
    int pillarYear = 0;
    int index = 0;  // 1 = 寅 month .. 12 = 丑 month
    Pillar pillar = 0;
    // The jie that opens the month and the one that opens the next: a birth
    // belongs to the month from the first moment on, up to (not including)
    // the second.
    JieInstant start;
    JieInstant end;
};

// Solar month `index` (1..12) of a pillar year; empty when a jie that bounds
// it lies outside the tables.
std::optional<SolarMonth> SolarMonthOf(int pillarYear, int index);

// Minutes since 1 January 1900 00:00 of a clock time (negative before).
long MinuteNumber(const Date& d, TimeOfDay t);
long MinuteNumber(const JieInstant& jie);

}  // namespace tl
