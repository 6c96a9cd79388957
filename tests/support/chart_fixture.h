// Charts built straight from four pillars, for the analysis sections.
#pragma once

#include <string>
#include <vector>

#include "calendar/pillars.h"
#include "chart/chart.h"
#include "chart/run.h"

namespace tl::test {

// The lines of a CR LF text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find("\r\n", start);
        out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return out;
        start = at + 2;
    }
}


// A chart of the given pillars, the entered hour branch taken from the hour
// pillar unless given.
inline Chart ChartOf(Pillar year, Pillar month, Pillar day, Pillar hour, bool male = true,
                     Branch enteredHourBranch = 0) {
    Chart c;
    c.isMale = male;
    c.SetPillars(year, month, day, hour);
    c.enteredHourBranch = enteredHourBranch != 0 ? enteredHourBranch : c.hourBranch;
    return c;
}

// The pillar of two names, e.g. P("甲", "子") — by searching the sixty.
inline Pillar P(std::string_view name) {
    for (Pillar p = 1; p <= 60; ++p)
        if (PillarName(p) == name) return p;
    return 0;
}

// A chart whose stems and branches are set directly (the relation sections
// read only these).
inline Chart StemsBranches(Stem ys, Stem ms, Stem ds, Stem hs, Branch yb, Branch mb, Branch db, Branch hb) {
    Chart c;
    c.yearStem = ys;
    c.monthStem = ms;
    c.dayStem = ds;
    c.hourStem = hs;
    c.yearBranch = yb;
    c.monthBranch = mb;
    c.dayBranch = db;
    c.hourBranch = hb;
    return c;
}

// The request of a Gregorian birth as the input window would give it.
inline ChartRequest SolarRequest(int y, int m, int d, int hour, int minute, bool male = true) {
    ChartRequest r;
    r.year = y;
    r.month = m;
    r.day = d;
    r.hour = hour;
    r.minute = minute;
    r.isMale = male;
    return r;
}

// The chart of a Gregorian birth.
inline Chart RunSolar(int y, int m, int d, int hour, int minute, bool male = true) {
    return RunCalendar(SolarRequest(y, m, d, hour, minute, male));
}

}  // namespace tl::test
