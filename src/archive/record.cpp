#include "archive/record.h"

#include "calendar/civil.h"

namespace tl {

double OleDate(const Date& d) {
    // Day number 0 is 1 January 1900, OLE day 2.
    return static_cast<double>(DayNumber(d) + 2);
}

}  // namespace tl
