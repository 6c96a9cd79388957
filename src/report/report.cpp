#include "report/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <string_view>

#include "calendar/jie.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "place/gazetteer.h"
#include "place/world_gazetteer.h"
#include "place/zone_clock.h"
#include "report/sections.h"
#include "report/text_build.h"
#include "text/utf8.h"

namespace tl {

namespace {

// A jie moment: "<month>月<day>日<hour>时<minute>分<name>".
void AppendJie(std::string& out, int month, int day, std::string_view momentText) {
    AppendInt(out, month);
    out += "月";
    AppendInt(out, day);
    out += "日";
    out += momentText;
    out += JieName(month);
}

std::string MomentText(TimeOfDay t) {
    std::string s;
    AppendInt(s, t.hour());
    s += "时";
    AppendInt(s, t.minute());
    s += "分";
    return s;
}

// "(已减夏令时1小时)", or the minutes for an offset that is no whole hour.
void AppendDaylightSavingNote(std::string& out, int minutes) {
    out += "(已减夏令时";
    AppendInt(out, minutes % 60 == 0 ? minutes / 60 : minutes);
    out += minutes % 60 == 0 ? "小时)" : "分钟)";
}

void AppendTimeOfDay(std::string& out, TimeOfDay t) {
    AppendInt(out, t.hour());
    out += ':';
    AppendInt2(out, t.minute());
    out += ':';
    AppendInt2(out, t.second());
}

// "1990年7月1日".
void AppendDate(std::string& out, const Date& d) {
    AppendInt(out, d.year);
    out += "年";
    AppendInt(out, d.month);
    out += "月";
    AppendInt(out, d.day);
    out += "日";
}

// "UTC-4:00", "UTC+8:05:43".
void AppendUtcOffset(std::string& out, int seconds) {
    out += "UTC";
    out += seconds < 0 ? '-' : '+';
    const int a = std::abs(seconds);
    AppendInt(out, a / 3600);
    out += ':';
    AppendInt2(out, a / 60 % 60);
    if (a % 60 != 0) {
        out += ':';
        AppendInt2(out, a % 60);
    }
}

// The line after the birth line for a clock that was not Beijing time: the
// clock as entered, its zone and the offset it was read with, and the
// instant in Beijing time.
void AppendClockLine(std::string& out, const Chart& c) {
    out += "  当地时钟: ";
    AppendDate(out, c.clockDate);
    AppendInt(out, c.clockTime.hour());
    out += ':';
    AppendInt2(out, c.clockTime.minute());
    out += ' ';
    out += c.clock.zone.empty() ? std::string_view("自定义") : c.clock.zone;
    out += ' ';
    AppendUtcOffset(out, c.daylightSavingApplied ? c.clock.utcOffsetSeconds : c.clock.standardOffsetSeconds);
    if (c.daylightSavingApplied) out += "(夏令时)";
    if (c.clock.localMeanTime) out += "(地方平时)";
    out += ",北京时间";
    AppendDate(out, c.beijingDate);
    AppendTimeOfDay(out, c.beijingTime);
    out += kCrLf;
}

// Whether the report shows the clock line: every birth abroad, and a birth
// in China whose zone kept another standard time than Beijing's (Taiwan
// and Hong Kong under UTC+9).
bool ShowsClockLine(const Chart& c) {
    return c.abroad || c.clock.standardOffsetSeconds != kBeijingOffsetSeconds;
}

// The red passages begin two characters before the first occurrence of their
// marker: the space before 乾造/坤造 through the stems line and the branches
// line up to the closing ")" of the day void; the whole luck-pillar line;
// the "排流年:" heading with the annual table's header line up to "※神煞";
// the last two spaces of the title line, the title and its line end. In
// colouring order.
struct RedMarker {
    std::string_view marker;
    int length;
};
constexpr RedMarker kRedMarkers[] = {{"造", 96}, {"大运干支", 66}, {"排流年", 68}, {"腾岚", 10}};

}  // namespace

std::string HourLabel(int hour) { return BranchHourLabel(HourBranch(hour)); }

std::string BranchHourLabel(Branch b) {
    if (b < 1 || b > 12) return {};
    std::string s(BranchName(b));
    s += "时";
    return s;
}

ReportHeader ReportHeaderOf(const ChartRequest& r, std::string_view typedName) {
    ReportHeader h;
    h.name = std::string(typedName);
    if (r.world) {
        h.provinceItem = WorldPlaceCountryText(*r.world);
        h.placeItem = WorldPlaceCityText(*r.world);
    } else {
        h.provinceItem = ProvinceItem(r.provinceIndex);
        h.placeItem = PlaceItem(r.provinceIndex, r.placeIndex);
    }
    h.trueSolarTime = r.useTrueSolarTime;
    return h;
}

std::string WorldPlaceCountryText(const WorldPlace& p) {
    if (p.country.empty()) return "自定义经纬度";
    if (const auto country = FindCountry(p.country)) return std::string(country->name);
    return p.country;
}

std::string WorldPlaceCityText(const WorldPlace& p) {
    if (!p.city.empty()) return p.city;
    std::string s;
    auto degrees = [&s](double v, std::string_view positive, std::string_view negative) {
        s += v < 0 ? negative : positive;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", std::fabs(v));
        s += buf;
        s += "°";
    };
    degrees(p.longitude, "东经", "西经");
    if (p.latitude) {
        s += ',';
        degrees(*p.latitude, "北纬", "南纬");
    }
    return s;
}

std::string JieMomentsText(const Date& birth) {
    std::string out;
    const int y = birth.year, m = birth.month, d = birth.day;
    if (JieDays(y).empty() || m < 1 || m > 12) return out;
    const int d1 = JieDay(y, m);
    AppendJie(out, m, d1, JieMomentText(y, m));
    AppendSpaces(out, 6);

    // Before the month's jie the solar month began at the previous month's
    // jie; on or after it, it ends at the next month's.
    int m2 = d < d1 ? m - 1 : m + 1;
    int y2 = y;
    if (m2 == 0) { m2 = 12; y2 = y - 1; }
    if (m2 == 13) { m2 = 1; y2 = y + 1; }
    if (y2 != y) {
        if (const auto jie = JieAt(y2, m2)) {
            AppendJie(out, m2, jie->date.day, MomentText(jie->time));
            return out;
        }
    }
    // Inside the year, or a neighbouring year the tables do not reach: the
    // birth year's own row.
    AppendJie(out, m2, JieDay(y, m2), JieMomentText(y, m2));
    return out;
}

std::string NearJieLine(const Date& birth, TimeOfDay t) {
    const auto near = NearJieOf(birth, t);
    if (!near) return {};
    const std::string_view term = JieName(near->term);
    std::string line = "  临近交节: 出生时刻在";
    line += term;
    if (near->minutes == 0) {
        line += "交节的同一分钟";
    } else {
        line += near->minutes < 0 ? "前" : "后";
        AppendInt(line, std::abs(near->minutes));
        line += "分钟";
    }
    line += near->term == 2 ? ",月柱和年柱在此更换" : ",月柱在此更换";
    line += ",请核实出生时间";
    line += kCrLf;
    return line;
}

Report BuildReport(const Chart& c, const NatalTable& natal, const LuckTimeline& luck, const ReportHeader& h) {
    Report r;
    std::string& t = r.text;
    t.reserve(16 * 1024);

    AppendSpaces(t, 40);
    t += "腾岚八字排盘";
    t += kCrLf;

    t += "  姓名:";
    t += h.name;
    t += kCrLf;

    t += "  出生地点: ";
    t += h.provinceItem;
    t += ",";
    t += h.placeItem;
    t += kCrLf;

    t += "  出生年月: ";
    if (h.trueSolarTime) t += "(真太阳时)";
    t += "公历:";
    AppendDate(t, c.BirthDate());
    AppendTimeOfDay(t, c.birthTime);
    t += "时";
    if (c.daylightSavingApplied) AppendDaylightSavingNote(t, c.daylightSavingMinutes);
    AppendSpaces(t, 8);
    t += "农历:";
    t += YearNumerals(c.lunarYear);
    t += c.isLeapMonth ? "年闰" : "年";
    t += NumeralName(c.lunarMonth);
    t += "月";
    t += LunarDayName(c.lunarDay);
    t += "日";
    t += BranchHourLabel(c.enteredHourBranch);
    if (c.ziDayChange == ZiDayChange::kAtMidnight) t += "(子时按0点换日)";
    t += kCrLf;
    if (ShowsClockLine(c)) AppendClockLine(t, c);

    t += "  交节时刻: ";
    t += JieMomentsText(c.JieDate());
    t += kCrLf;
    t += NearJieLine(c.JieDate(), c.JieTime());
    t += kCrLf;

    const std::size_t headerEnd = t.size();
    // Where each section put its marker; the title's is in the header.
    std::size_t at[std::size(kRedMarkers)];
    at[0] = WriteNatalChart(t, c, natal);
    WriteNatalRelations(t, c, natal.relations);
    WriteNatalShensha(t, natal);
    const LuckMarkers luckMarkers = WriteLuckAndAnnual(t, c, luck);
    at[1] = luckMarkers.luckPillars;
    at[2] = luckMarkers.annualHeading;
    at[3] = std::string::npos;

    // Only the header holds free text (the name, the birthplace): a marker
    // found there comes first.
    constexpr std::size_t kMarkers = std::size(kRedMarkers);
    for (std::size_t i = 0; i < kMarkers; ++i) {
        const std::size_t inHeader = std::string_view(t).substr(0, headerEnd).find(kRedMarkers[i].marker);
        if (inHeader != std::string::npos) at[i] = inHeader;
    }

    // Characters are counted once, from one marker to the next in text
    // order; the passages keep their colouring order.
    std::size_t byPosition[kMarkers];
    std::size_t found = 0;
    for (std::size_t i = 0; i < kMarkers; ++i)
        if (at[i] != std::string::npos) byPosition[found++] = i;
    for (std::size_t k = 1; k < found; ++k)  // insertion sort of at most four
        for (std::size_t j = k; j > 0 && at[byPosition[j]] < at[byPosition[j - 1]]; --j)
            std::swap(byPosition[j], byPosition[j - 1]);
    long charsBefore[kMarkers] = {};
    std::size_t counted = 0;
    long chars = 0;
    for (std::size_t k = 0; k < found; ++k) {
        const std::size_t i = byPosition[k];
        chars += static_cast<long>(Utf8Length(std::string_view(t).substr(counted, at[i] - counted)));
        counted = at[i];
        charsBefore[i] = chars;
    }
    r.red.reserve(found);
    for (std::size_t i = 0; i < kMarkers; ++i) {
        if (at[i] == std::string::npos) continue;
        const long start = std::max<long>(0, charsBefore[i] - 2);
        // A passage running past the end of the text stops there. A character
        // takes at most four bytes, so the rest is counted only when it may
        // be shorter than the passage.
        long length = kRedMarkers[i].length;
        const std::string_view rest = std::string_view(t).substr(at[i]);
        if (static_cast<long>(rest.size()) < 4L * length) {
            length = std::min<long>(length, charsBefore[i] + static_cast<long>(Utf8Length(rest)) - start);
        }
        r.red.push_back({static_cast<int>(start), static_cast<int>(length)});
    }
    return r;
}

Report BuildReport(const Chart& c, const ReportHeader& h) {
    return BuildReport(c, NatalTableOf(c), LuckTimelineOf(c), h);
}

}  // namespace tl
