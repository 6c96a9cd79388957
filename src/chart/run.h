// One chart run: a request in, the chart out.
#pragma once

#include "calendar/chart.h"
#include "chart/request.h"

namespace tl {

// Turns a request into the chart: date conversion, true solar time, the four
// pillars with their stems and branches, the lunar date and the luck start.
// For Gregorian input the lunar date is derived after the true-solar-time
// correction; for lunar input the Gregorian date is derived before it. The
// pillars always come from the corrected Gregorian date and time.
Chart RunCalendar(const ChartRequest& request);

}  // namespace tl
