// The archive fields of a chart: what a completed run leaves in the current
// record of the archive.
#pragma once

#include <optional>
#include <string_view>

#include "archive/record.h"
#include "chart/chart.h"
#include "chart/input.h"

namespace tl {

// The archive fields a completed run leaves in the current record: the name
// ("没有名字" when empty) cut or padded to 12 characters, the sex, the place
// "<province item>,<place item>" cut or padded to 14 characters, the birth
// date and time, live. The record number and save time are set on saving.
ChartRecord ArchiveFields(const Chart& chart, std::string_view personName, std::string_view provinceItem,
                          std::string_view placeItem);

// The selections that chart a saved record again ("重新排盘"): its name
// (empty for "没有名字"), sex, Gregorian date, time to the minute and
// birthplace. The record keeps the time the chart was made from, already
// moved to standard time and true solar time where that was asked for, so
// both boxes are clear; the 子 hour rule is left to the window's own
// choice. A place cut short in the record is found by its beginning; one
// that no list holds gives "不考虑". Nothing for a record whose date lies
// outside the year list (a record saved before any run holds no date).
std::optional<InputSelections> SelectionsOfRecord(const ChartRecord& record);

}  // namespace tl
