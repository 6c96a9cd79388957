// What the input window shows and reads: the items of its date and time
// lists, the selections it starts with, and the request one run reads from
// the list positions and boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archive/record.h"
#include "calendar/types.h"
#include "calendar/chart.h"
#include "chart/request.h"

namespace tl {

enum class InputList { Year, Month, Day, Hour, Minute };

// The item texts of a list, in list order: years kCalendarFirstYear ..
// kCalendarLastYear, months "1".."12", days "1".."31" (whatever the month),
// hours "0".."23" and minutes "0".."59".
std::vector<std::string> InputListItems(InputList list);

// List positions; -1 is a list without a selection.
struct DateTimePositions {
    int year = -1;
    int month = -1;
    int day = -1;
    int hour = -1;
    int minute = -1;

    friend bool operator==(const DateTimePositions&, const DateTimePositions&) = default;
};

// The selections the window starts with: today's date and the current hour
// and minute. A year outside the list (today after kCalendarLastYear) leaves the year
// list without a selection.
DateTimePositions TodayPositions(const Date& today, TimeOfDay now);

// Everything of the input window a run reads.
struct InputSelections {
    std::string nameText;  // the name box as typed
    bool isMale = true;
    bool isSolarInput = true;
    DateTimePositions positions;
    bool leapTicked = false;
    bool trueSolarTicked = false;
    int provincePosition = 0;
    int placePosition = 0;
    int ziDayChange = 23;  // the 子 hour rule, 23 or 0
    bool daylightSavingTicked = false;
};

// The request of one run: year = position + kCalendarFirstYear, month and
// day = position + 1 (a lunar day 31 is read as 30), hour and minute =
// position, the name trimmed, the leap flag for lunar input only, the 子
// hour rule and the daylight-saving box. Empty when the year list has no
// selection: the request would carry no year.
std::optional<ChartRequest> ReadRequest(const InputSelections& in);

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
