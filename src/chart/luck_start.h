// When the luck pillars (大运) begin: direction, start age and first pillar.
#pragma once

#include "calendar/types.h"

namespace tl {

struct Chart;

// The jie a luck count runs to from a birth at `birth` (inside its month),
// time `t`: forward, the jie of the birth month when the birth is at or
// before it, else the next month's; backward, the birth month's jie when the
// birth is after it, else the previous month's. Returns the signed distance
// in seconds from the birth to that jie.
long LuckTargetOffsetSeconds(const Date& birth, TimeOfDay t, bool forward);

// Fills the luck fields of the chart from its birth date and time, lunar
// year, sex and month pillar. Three days of real time make one year of life.
void ComputeLuckStart(Chart& chart);

}  // namespace tl
