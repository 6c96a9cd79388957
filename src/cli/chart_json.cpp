#include "cli/chart_json.h"

#include <charconv>
#include <cstdio>

#include "calendar/jie.h"
#include "calendar/pillars.h"
#include "place/gazetteer.h"
#include "place/true_solar_time.h"
#include "report/relation_words.h"
#include "place/daylight_saving.h"
#include "cli/output.h"

namespace tl::cli {

namespace {

// "YYYY-MM-DD" and "HH:MM:SS".
std::string DateText(int year, int month, int day) {
    char buf[16] = {};
    auto put2 = [](char* p, int v) {
        p[0] = static_cast<char>('0' + v / 10 % 10);
        p[1] = static_cast<char>('0' + v % 10);
    };
    char* p = std::to_chars(buf, buf + 8, year).ptr;
    *p++ = '-';
    put2(p, month);
    p[2] = '-';
    put2(p + 3, day);
    return std::string(buf, static_cast<std::size_t>(p + 5 - buf));
}

std::string TimeText(TimeOfDay t) {
    const int parts[3] = {t.hour(), t.minute(), t.second()};
    char buf[8];
    for (int i = 0; i < 3; ++i) {
        buf[3 * i] = static_cast<char>('0' + parts[i] / 10 % 10);
        buf[3 * i + 1] = static_cast<char>('0' + parts[i] % 10);
        if (i < 2) buf[3 * i + 2] = ':';
    }
    return std::string(buf, 8);
}

void WriteStars(JsonWriter& w, StarSet stars) {
    w.Key("shensha").BeginArray();
    for (Star s : stars) w.String(StarName(s));
    w.EndArray();
}

// The pairs of one kind of natal relation, as the report names them.
void WritePairs(JsonWriter& w, std::string_view key, RelationKind kind, const PairSlots& slots, const Chart& c) {
    const bool onStems = kRelationRules[kind].onStems;
    const int v[4] = {onStems ? c.yearStem : c.yearBranch, onStems ? c.monthStem : c.monthBranch,
                      onStems ? c.dayStem : c.dayBranch, onStems ? c.hourStem : c.hourBranch};
    const auto name = onStems ? StemName : BranchName;
    w.Key(key).BeginArray();
    for (PairCode code : {slots.a, slots.b}) {
        if (code == 0) continue;
        std::string pair(name(v[kNatalPairs[code - 1][0]]));
        pair += name(v[kNatalPairs[code - 1][1]]);
        w.String(pair);
    }
    w.EndArray();
}

void WritePillar(JsonWriter& w, std::string_view key, Pillar p) {
    w.Key(key).BeginObject().Key("index").Int(p).Key("name").String(PillarName(p)).EndObject();
}

// Degrees with six decimals at most, trailing zeros dropped ("-73.99").
void WriteDegrees(JsonWriter& w, double v) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.6f", v);
    while (n > 0 && buf[n - 1] == '0') --n;
    if (n > 0 && buf[n - 1] == '.') --n;
    std::string_view text(buf, static_cast<std::size_t>(n));
    if (text == "-0") text = "0";
    w.Raw(text);
}

}  // namespace

void WriteBirthplaceMember(JsonWriter& w, const ChartRequest& r, const ReportHeader& header) {
    w.Key("birthplace").BeginObject();
    if (r.world) {
        const WorldPlace& p = *r.world;
        w.Key("country");
        if (p.country.empty()) w.Null(); else w.String(p.country);
        w.Key("countryName").String(header.provinceItem);
        w.Key("region").String(p.region);
        w.Key("city").String(p.city);
        w.Key("zone").String(p.zone);
        w.Key("longitude");
        WriteDegrees(w, p.longitude);
        w.Key("latitude");
        if (p.latitude) WriteDegrees(w, *p.latitude); else w.Null();
    } else {
        w.Key("province").Int(r.provinceIndex)
            .Key("provinceItem").String(header.provinceItem)
            .Key("place").Int(r.placeIndex)
            .Key("placeItem").String(header.placeItem);
        // The province without its list number; "不考虑" names no place.
        std::string_view region = header.provinceItem;
        while (!region.empty() && region.front() >= '0' && region.front() <= '9') region.remove_prefix(1);
        const bool none = r.provinceIndex == 0;
        w.Key("country").String("CN");
        w.Key("region").String(none ? std::string_view() : region);
        w.Key("city").String(none ? std::string_view() : std::string_view(header.placeItem));
        w.Key("zone").String(ProvinceZone(r.provinceIndex));
        // The longitude behind the place's correction, 4 minutes a degree
        // from 120° east.
        w.Key("longitude");
        if (r.provinceIndex > 0 && !header.placeItem.empty())
            WriteDegrees(w, 120.0 + static_cast<double>(PlaceCorrection(r.provinceIndex, r.placeIndex)) / 4.0);
        else
            w.Null();
        w.Key("latitude").Null();
    }
    w.EndObject();
}

void WriteChartMembers(JsonWriter& w, const Chart& c) {
    w.Key("sex").String(c.isMale ? "male" : "female");
    w.Key("input").String(c.isSolarInput ? "gregorian" : "lunar");
    w.Key("birthDate").String(DateText(c.birthYear, c.birthMonth, c.birthDay));
    w.Key("birthTime").String(TimeText(c.birthTime));
    w.Key("beijingTime").String(DateText(c.beijingDate.year, c.beijingDate.month, c.beijingDate.day) + "T" +
                                TimeText(c.beijingTime));
    w.Key("clock").BeginObject()
        .Key("zone").String(c.clock.zone)
        .Key("utcOffsetSeconds").Int(c.clock.utcOffsetSeconds)
        .Key("standardOffsetSeconds").Int(c.clock.standardOffsetSeconds)
        .Key("localMeanTime").Bool(c.clock.localMeanTime)
        .EndObject();
    w.Key("lunar").BeginObject()
        .Key("year").Int(c.lunarYear)
        .Key("month").Int(c.lunarMonth)
        .Key("day").Int(c.lunarDay)
        .Key("leap").Bool(c.isLeapMonth)
        .EndObject();
    w.Key("ziDayChange").Int(ZiDayChangeHour(c.ziDayChange));
    // null where the time-zone database could not tell.
    if (c.daylightSavingKnown)
        w.Key("daylightSaving").BeginObject()
            .Key("inEffect").Bool(c.daylightSavingInEffect)
            .Key("applied").Bool(c.daylightSavingApplied)
            .Key("minutes").Int(c.daylightSavingMinutes)
            .EndObject();
    else
        w.Key("daylightSaving").Null();
    w.Key("nearJie");
    if (const auto near = NearJieOf(c.JieDate(), c.JieTime()))
        w.BeginObject().Key("term").String(JieName(near->term)).Key("minutes").Int(near->minutes).EndObject();
    else
        w.Null();
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

void WriteAnalysisMembers(JsonWriter& w, const Chart& c, const NatalTable& natal, const LuckTimeline& luck) {
    static constexpr std::string_view kPillarKeys[4] = {"year", "month", "day", "hour"};
    w.Key("natal").BeginObject();
    for (std::size_t i = 0; i < 4; ++i) {
        const NatalPillar& p = natal.pillars[i];
        w.Key(kPillarKeys[i]).BeginObject();
        w.Key("stem").String(StemName(p.stem));
        w.Key("branch").String(BranchName(p.branch));
        w.Key("tenGod").String(i == 2 ? std::string_view("日") : TenGodName(p.tenGod));
        w.Key("hiddenStems").BeginArray();
        for (const HiddenStem& h : p.hiddenStems) {
            if (h.stem == 0) continue;
            w.BeginObject().Key("stem").String(StemName(h.stem)).Key("tenGod").String(TenGodName(h.tenGod)).EndObject();
        }
        w.EndArray();
        w.Key("strength").String(StrengthName(p.strength));
        w.Key("growthStage").String(GrowthStageName(p.growthStage));
        w.Key("naYin").String(NayinName(p.pillar));
        WriteStars(w, p.shensha);
        w.EndObject();
    }
    w.Key("lifePalace").String(PillarName(natal.lifePalace));
    std::string dayVoid(BranchName(natal.dayVoid));
    dayVoid += BranchName(natal.dayVoid % 12 + 1);
    w.Key("dayVoid").String(dayVoid);
    const NatalRelations& r = natal.relations;
    w.Key("relations").BeginObject();
    WritePairs(w, "stemClash", kStemClash, r.pairs[kStemClash], c);
    WritePairs(w, "branchClash", kBranchClash, r.pairs[kBranchClash], c);
    WritePairs(w, "stemCombination", kStemCombine, r.pairs[kStemCombine], c);
    WritePairs(w, "branchCombination", kBranchCombine, r.pairs[kBranchCombine], c);
    w.Key("branchTrio").BeginArray();
    if (r.trio >= 1 && r.trio <= 4) {
        // The trio's three branches as the report names them, "申子辰".
        const std::string_view text = kTrioTexts[static_cast<std::size_t>(r.trio - 1)];
        w.String(text.substr(0, text.size() - std::string_view("相合").size()));
    }
    w.EndArray();
    WritePairs(w, "branchHarm", kBranchHarm, r.pairs[kBranchHarm], c);
    w.EndObject();
    w.Key("shensha").BeginArray();
    for (ChartStar s : natal.shensha) w.String(ChartStarName(s));
    w.EndArray();
    w.EndObject();

    w.Key("luckPillars").BeginArray();
    for (const LuckStep& step : luck.luck) {
        w.BeginObject().Key("pillar").String(PillarName(step.pillar));
        WriteStars(w, step.shensha);
        w.EndObject();
    }
    w.EndArray();
    w.Key("annual").BeginArray();
    for (const AnnualYear& y : luck.annual) {
        w.BeginObject().Key("age").Int(y.age).Key("year").Int(y.year).Key("pillar").String(PillarName(y.pillar));
        WriteStars(w, y.shensha);
        w.Key("luckAndYearMeet").Bool(y.luckAndYearMeet).EndObject();
    }
    w.EndArray();
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
                          c.daylightSavingProblem,
             0);
}

}  // namespace tl::cli
