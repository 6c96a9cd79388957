// The report: the whole text a run shows in the report box, with the four
// passages coloured red.
#pragma once

#include <string>
#include <vector>

#include "chart/chart.h"

namespace tl {

// What the report takes from the input window besides the chart.
struct ReportHeader {
    std::string name;          // the name box exactly as typed
    std::string provinceItem;  // province list item text, e.g. "1北京" or "不考虑"
    std::string placeItem;     // place list item text
    bool trueSolarTime = false;
    std::string hourLabel;     // the hour label, e.g. "丑时"
};

// A passage of the report in characters (code points), CR LF counting two.
struct TextRange {
    int start = 0;
    int length = 0;

    friend bool operator==(const TextRange&, const TextRange&) = default;
};

struct Report {
    std::string text;             // UTF-8, CR LF line ends
    std::vector<TextRange> red;   // the passages to colour red, in colouring order
};

// Builds the report of a chart produced by RunCalendar.
Report BuildReport(const Chart& chart, const ReportHeader& header);

}  // namespace tl
