// The years the calendar serves: Gregorian dates of 1900..2100, lunar years
// 1900..2100 and the months of the perpetual calendar. The input window, the
// command line and the calendar window offer exactly these years; every
// table reaches as far as a birth in them can need, which the static_asserts
// beside the tables hold to.
#pragma once

namespace tl {

// The build reads these two lines for the texts that name the range.
inline constexpr int kCalendarFirstYear = 1900;
inline constexpr int kCalendarLastYear = 2100;

}  // namespace tl
