// One chart run: a request in, the chart out, and the archive fields of the
// current record.
#pragma once

#include <string_view>

#include "archive/record.h"
#include "chart/chart.h"

namespace tl {

// Turns a request into the chart: date conversion, true solar time, the four
// pillars with their stems and branches, the lunar date and the luck start.
// For Gregorian input the lunar date is derived after the true-solar-time
// correction; for lunar input the Gregorian date is derived before it. The
// pillars always come from the corrected Gregorian date and time.
Chart RunCalendar(const ChartRequest& request);

// The archive fields a completed run leaves in the current record: the name
// ("没有名字" when empty) cut or padded to 12 characters, the sex, the place
// "<province item>,<place item>" cut or padded to 14 characters, the birth
// date and time, live. The record number and save time are set on saving.
ChartRecord ArchiveFields(const Chart& chart, std::string_view personName, std::string_view provinceItem,
                          std::string_view placeItem);

}  // namespace tl
