// The report: the whole text a run shows in the report box, with the four
// passages coloured red.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/luck_annual.h"
#include "analysis/natal_table.h"
#include "chart/chart.h"
#include "chart/request.h"

namespace tl {

// What the report takes from the input window besides the chart.
struct ReportHeader {
    std::string name;          // the name box exactly as typed
    // Province list item text, e.g. "1北京" or "不考虑"; for a birth abroad
    // the country ("美国", or "自定义经纬度").
    std::string provinceItem;
    std::string placeItem;     // place list item text; abroad the city
    bool trueSolarTime = false;
};

// The header of a request's report as the input window shows it: the name
// exactly as typed (the request holds it trimmed), the province and place
// list items of the birthplace (empty for a position outside the lists) or
// the country and city abroad, and the true-solar-time switch.
ReportHeader ReportHeaderOf(const ChartRequest& request, std::string_view typedName);

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

// Writes the report of a chart produced by RunCalendar from the values of
// its analysis: the five header
// lines (the birth line noting a daylight-saving correction after the time
// and ending in the hour of the clock read as standard time; for a clock
// that was not Beijing time a line with the clock as entered, its zone and
// offset and the instant in Beijing time;
// the near-jie line after the jie moments when it applies), the natal chart section, the natal interactions, the natal shensha
// and the luck and annual pillars, with CR LF line ends, and the passages
// coloured red (the 乾造/坤造 line with the branches line, the luck-pillar
// line, the annual heading, the end of the title line), each found by the
// first occurrence of its marker: in the header (which holds the name and
// the birthplace as typed) or else where the section writing it put it.
Report BuildReport(const Chart& chart, const NatalTable& natal, const LuckTimeline& luck,
                   const ReportHeader& header);
// The same, the analysis worked out here.
Report BuildReport(const Chart& chart, const ReportHeader& header);

// The hour label of the input window: the branch of a clock hour followed
// by "时" (0 and 23 give "子时", 1 and 2 "丑时", ...); empty outside 0..23.
std::string HourLabel(int hour);
// The same for an hour branch 1..12 ("子时" .. "亥时"); empty outside.
std::string BranchHourLabel(Branch branch);

// The country and city texts of a birthplace abroad: the country's Chinese
// name ("自定义经纬度" for a place given by its longitude) and the city
// (for such a place its longitude and latitude, "东经116.40°,北纬39.90°").
std::string WorldPlaceCountryText(const WorldPlace& place);
std::string WorldPlaceCityText(const WorldPlace& place);

// The jie moments of the header around a Gregorian birth date: the jie of
// the birth month, six spaces, then the jie that opened the solar month
// (birth before the month's jie) or the one that closes it (on or after).
// Across the year boundary the neighbouring year's jie is shown: the 大雪
// of the previous December, or the 小寒 of the next January.
std::string JieMomentsText(const Date& birth);

// The line that follows the jie moments when the birth lies within
// kNearJieMinutes of the jie that decides its month pillar (at 立春 also
// its year pillar): which term, how many minutes before or after, that the
// pillar changes there, and that the birth time wants checking; with its
// CR LF. Empty for a birth farther away.
std::string NearJieLine(const Date& birth, TimeOfDay t);

}  // namespace tl
