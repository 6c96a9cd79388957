// The archive fields of a chart: what a completed run leaves in the current
// record of the archive.
#pragma once

#include <string_view>

#include "archive/record.h"
#include "chart/chart.h"

namespace tl {

// The archive fields a completed run leaves in the current record: the name
// ("没有名字" when empty) cut or padded to 12 characters, the sex, the place
// "<province item>,<place item>" cut or padded to 14 characters, the birth
// date and time, live. The record number and save time are set on saving.
ChartRecord ArchiveFields(const Chart& chart, std::string_view personName, std::string_view provinceItem,
                          std::string_view placeItem);

}  // namespace tl
