// One chart run: a request in, the chart out.
#pragma once

#include "chart/chart.h"
#include "chart/request.h"
#include "place/daylight_saving.h"

namespace tl {

// Turns a request into the chart: date conversion, true solar time, the four
// pillars with their stems and branches, the lunar date and the luck start.
// For Gregorian input the lunar date is derived after the true-solar-time
// correction; for lunar input the Gregorian date is derived before it. The
// pillars always come from the corrected Gregorian date and time.
// Daylight saving time is applied first when the request asks for it: the
// entered clock time moves back to standard time (for lunar input after the
// conversion to the Gregorian date), before true solar time.
Chart RunCalendar(const ChartRequest& request);

// Daylight saving time at the request's entered date and clock time, a lunar
// date taken at its Gregorian date; what the "夏令时" box shows.
DaylightSaving DaylightSavingOf(const ChartRequest& request);

}  // namespace tl
