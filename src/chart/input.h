// What the input window shows and reads: the items of its date and time
// lists, the selections it starts with, and the request one run reads from
// the list positions and boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/types.h"
#include "chart/chart.h"
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
    ZiDayChange ziDayChange = ZiDayChange::kAt23;
    bool daylightSavingTicked = false;
};

// The request of one run: year = position + kCalendarFirstYear, month and
// day = position + 1 (a lunar day 31 is read as 30), hour and minute =
// position, the name trimmed, the leap flag for lunar input only, the 子
// hour rule and the daylight-saving box. Empty when the year list has no
// selection: the request would carry no year.
std::optional<ChartRequest> ReadRequest(const InputSelections& in);


}  // namespace tl
