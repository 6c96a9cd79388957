#include "cli/chart_json.h"

#include <cstdio>

#include "calendar/jie.h"
#include "calendar/pillars.h"
#include "place/daylight_saving.h"
#include "cli/output.h"

namespace tl::cli {

namespace {

std::string Pad2(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

void WritePillar(JsonWriter& w, std::string_view key, Pillar p) {
    w.Key(key).BeginObject().Key("index").Int(p).Key("name").String(PillarName(p)).EndObject();
}

}  // namespace

void WriteChartMembers(JsonWriter& w, const Chart& c) {
    w.Key("sex").String(c.isMale ? "male" : "female");
    w.Key("input").String(c.isSolarInput ? "gregorian" : "lunar");
    w.Key("birthDate").String(std::to_string(c.birthYear) + "-" + Pad2(c.birthMonth) + "-" + Pad2(c.birthDay));
    w.Key("birthTime").String(Pad2(c.birthTime.hour()) + ":" + Pad2(c.birthTime.minute()) + ":" +
                              Pad2(c.birthTime.second()));
    w.Key("lunar").BeginObject()
        .Key("year").Int(c.lunarYear)
        .Key("month").Int(c.lunarMonth)
        .Key("day").Int(c.lunarDay)
        .Key("leap").Bool(c.isLeapMonth)
        .EndObject();
    w.Key("ziDayChange").Int(c.ziDayChange);
    // null where the time-zone database could not tell.
    if (c.daylightSavingKnown)
        w.Key("daylightSaving").BeginObject()
            .Key("inEffect").Bool(c.daylightSavingInEffect)
            .Key("applied").Bool(c.daylightSavingApplied)
            .Key("minutes").Int(c.daylightSavingMinutes)
            .EndObject();
    else
        w.Key("daylightSaving").Raw("null");
    w.Key("nearJie");
    if (const auto near = NearJieOf(c.BirthDate(), c.birthTime))
        w.BeginObject().Key("term").String(JieName(near->term)).Key("minutes").Int(near->minutes).EndObject();
    else
        w.Raw("null");
    w.Key("pillars").BeginObject();
    WritePillar(w, "year", c.yearPillar);
    WritePillar(w, "month", c.monthPillar);
    WritePillar(w, "day", c.dayPillar);
    WritePillar(w, "hour", c.hourPillar);
    w.EndObject();
    w.Key("luck").BeginObject()
        .Key("forward").Bool(c.luckForward)
        .Key("years").Int(c.luckStartYears)
        .Key("months").Int(c.luckStartMonths)
        .Key("days").Int(c.luckStartDays)
        .Key("hours").Int(c.luckStartHours);
    WritePillar(w, "firstPillar", c.firstLuckPillar);
    w.EndObject();
}

void WriteReportMembers(JsonWriter& w, const Report& report) {
    w.Key("report").String(report.text);
    w.Key("red").BeginArray();
    for (const TextRange& range : report.red)
        w.BeginObject().Key("start").Int(range.start).Key("length").Int(range.length).EndObject();
    w.EndArray();
}

void WarnIfDaylightSavingUnknown(std::string_view command, const Chart& c) {
    static bool warned = false;
    if (c.daylightSavingKnown || warned) return;
    warned = true;
    Complain(command, "daylight saving time unknown, clock times taken as standard time: " +
                          DaylightSavingZoneProblem(),
             0);
}

}  // namespace tl::cli
