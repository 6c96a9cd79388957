// What the input window shows and reads: the items of its date and time
// lists, the selections it starts with, and the request one run reads from
// the list positions and boxes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/types.h"
#include "chart/chart.h"
#include "chart/request.h"
#include "place/world_gazetteer.h"

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
    // A birthplace abroad (a city of the world list, or a longitude with a
    // zone); the province and place positions are then not read.
    std::optional<WorldPlace> world = std::nullopt;
};

// The birthplace of a city of the world list.
WorldPlace WorldPlaceOf(const WorldCity& city);

// A decimal number of degrees in [lo, hi] ("-73.99", "151.2"; a leading
// minus, digits and one point only, at most 16 characters).
std::optional<double> ParseDegrees(std::string_view text, double lo, double hi);

// A birthplace given by its longitude (degrees east, −180..180) and a zone
// of the time-zone database; empty while either is missing or not valid.
std::optional<WorldPlace> PlaceByLongitude(std::string_view longitude, std::string_view zone);

// The request of one run: year = position + kCalendarFirstYear, month and
// day = position + 1 (a lunar day 31 is read as 30), hour and minute =
// position, the name trimmed, the leap flag for lunar input only, the 子
// hour rule and the daylight-saving box. Empty when the year list has no
// selection: the request would carry no year.
std::optional<ChartRequest> ReadRequest(const InputSelections& in);


}  // namespace tl
