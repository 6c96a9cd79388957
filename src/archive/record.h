// One archived chart: the in-memory form of a 56-byte record of reco.dat.
#pragma once

#include <string>

#include "calendar/types.h"

namespace tl {

struct ChartRecord {
    int recordNumber = 0;  // records the file held when this one was appended
    std::string name;      // UTF-8, 12 characters (cut or padded with spaces)
    std::string sex;       // "男 " or "女 "
    std::string place;     // "<province item>,<place item>", 14 characters
    double birthDate = 0;  // OLE Automation date, days from 1899-12-30
    double birthTime = 0;  // fraction of a day
    double savedAt = 0;    // OLE Automation date and time
    int deleted = 0;       // 0 live, -1 deleted

    friend bool operator==(const ChartRecord&, const ChartRecord&) = default;
};

// Days from 1899-12-30 of a Gregorian date (a day past the end of its month
// counts into the next month).
double OleDate(const Date& d);

}  // namespace tl
