#include "calendar/reverse.h"

#include <algorithm>

#include "calendar/civil.h"
#include "calendar/names.h"
#include "calendar/solar_month.h"
#include "calendar/years.h"

namespace tl {

namespace {

constexpr long kMinutesPerDay = 1440;
constexpr int kLateZiHour = 23;

bool IsPillar(Pillar p) { return p >= 1 && p <= 60; }

Pillar NextPillar(Pillar p) { return p % 60 + 1; }

std::string Name(Pillar p) { return std::string(PillarName(p)); }

// A stretch of minutes relative to midnight of a civil day, both ends
// included.
struct Block {
    long from = 0;
    long to = 0;
};

// Where in and around the civil day whose pillar is `day` the clock charts
// the hour pillar `hour`: each clock hour of the hour's slot, the late 子
// hour (23:00) belonging to the next day under the 23:00 rule, each kept
// when the stem of that hour follows from the day that gives its stem.
// Adjacent hours join into one block. Empty when the stem follows from no
// day (the hour pillar cannot stand with this day pillar).
std::vector<Block> HourBlocks(Pillar day, Pillar hour, bool dayChangesAt23) {
    std::vector<Block> blocks;
    for (int hr = 0; hr < 24; ++hr) {
        if (HourBranch(hr) != BranchOf(hour)) continue;
        const bool late = hr >= kLateZiHour;
        const long shift = late && dayChangesAt23 ? -kMinutesPerDay : 0;
        const Pillar stemDay = late && !dayChangesAt23 ? NextPillar(day) : day;
        if (HourPillarOf(stemDay, BranchOf(hour)) != hour) continue;
        blocks.push_back({hr * 60L + shift, hr * 60L + 59 + shift});
    }
    std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.from < b.from; });
    std::vector<Block> joined;
    for (const Block& b : blocks) {
        if (!joined.empty() && joined.back().to + 1 == b.from) joined.back().to = b.to;
        else joined.push_back(b);
    }
    return joined;
}

ClockMinute MinuteAt(long n) {
    const long day = n >= 0 ? n / kMinutesPerDay : -((-n + kMinutesPerDay - 1) / kMinutesPerDay);
    const long rest = n - day * kMinutesPerDay;
    return {DateOfDayNumber(day), static_cast<int>(rest / 60), static_cast<int>(rest % 60)};
}

long FloorDiv(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// A pillar year whose year pillar is `year` (any will do for the stems).
int SomePillarYear(Pillar year) {
    int yp = kCalendarFirstYear;
    while (YearPillarOf(yp) != year) ++yp;
    return yp;
}

std::string MonthStemReason(const Pillars& p, Pillar expected) {
    return "month pillar " + Name(p.month) + " does not follow from year pillar " + Name(p.year) +
           " (五虎遁): in a " + std::string(StemName(StemOf(p.year))) + " year the " +
           std::string(BranchName(BranchOf(p.month))) + " month is " + Name(expected);
}

std::string HourStemReason(const Pillars& p, bool dayChangesAt23) {
    const std::string stem(StemName(StemOf(p.day)));
    const std::string branch(BranchName(BranchOf(p.hour)));
    std::string reason = "hour pillar " + Name(p.hour) + " does not follow from day pillar " + Name(p.day) +
                         " (五鼠遁): on a " + stem + " day the " + branch + " hour is ";
    const Pillar early = HourPillarOf(p.day, BranchOf(p.hour));
    if (BranchOf(p.hour) != 1) return reason + Name(early);
    if (dayChangesAt23) return reason + Name(early) + " (23点 rule: 23:00 of the day before to 00:59)";
    return reason + Name(early) + " from 00:00 to 00:59 and " + Name(HourPillarOf(NextPillar(p.day), 1)) +
           " from 23:00 to 23:59, its stem from the next day's (0点 rule)";
}

}  // namespace

std::array<Pillar, 12> MonthPillarsOfYear(Pillar year) {
    std::array<Pillar, 12> months{};
    if (!IsPillar(year)) return months;
    const int yp = SomePillarYear(year);
    for (int s = 1; s <= 12; ++s) months[static_cast<std::size_t>(s - 1)] = MonthPillarOf(yp, s);
    return months;
}

std::vector<Pillar> HourPillarsOfDay(Pillar day, bool dayChangesAt23) {
    std::vector<Pillar> hours;
    if (!IsPillar(day)) return hours;
    for (Branch h = 1; h <= 12; ++h) hours.push_back(HourPillarOf(day, h));
    if (!dayChangesAt23) hours.push_back(HourPillarOf(NextPillar(day), 1));
    return hours;
}

ReverseResult ReversePillars(const Pillars& p, bool dayChangesAt23) {
    ReverseResult result;
    const std::pair<const char*, Pillar> named[] = {
        {"year", p.year}, {"month", p.month}, {"day", p.day}, {"hour", p.hour}};
    for (const auto& [what, value] : named) {
        if (!IsPillar(value)) {
            result.fault = ReverseFault::NotAPillar;
            result.reason = std::string(what) + " pillar " + std::to_string(value) +
                            " is no pillar of the sixty (1 甲子 .. 60 癸亥)";
            return result;
        }
    }

    // The solar month: the month pillars of the year stem's years.
    const std::array<Pillar, 12> months = MonthPillarsOfYear(p.year);
    const auto found = std::find(months.begin(), months.end(), p.month);
    if (found == months.end()) {
        result.fault = ReverseFault::MonthStem;
        for (Pillar m : months)
            if (BranchOf(m) == BranchOf(p.month)) result.reason = MonthStemReason(p, m);
        return result;
    }
    const int solarMonth = static_cast<int>(found - months.begin()) + 1;

    const std::vector<Block> blocks = HourBlocks(p.day, p.hour, dayChangesAt23);
    if (blocks.empty()) {
        result.fault = ReverseFault::HourStem;
        result.reason = HourStemReason(p, dayChangesAt23);
        return result;
    }

    const long rangeFirst = MinuteNumber(Date{kCalendarFirstYear, 1, 1}, TimeOfDay{});
    const long rangeLast = MinuteNumber(Date{kCalendarLastYear, 12, 31}, TimeOfDay::Hms(23, 59));
    // A pillar year may begin before the first day of the range: its 子 and
    // 丑 months reach into it.
    for (int yp = kCalendarFirstYear - 1; yp <= kCalendarLastYear; ++yp) {
        if (YearPillarOf(yp) != p.year) continue;
        const auto month = SolarMonthOf(yp, solarMonth);
        if (!month) continue;
        const long lo = std::max(MinuteNumber(month->start), rangeFirst);
        const long hi = std::min(MinuteNumber(month->end) - 1, rangeLast);
        if (lo > hi) continue;
        for (const Block& b : blocks) {
            // The first civil day whose block does not end before the month
            // begins, then the first of the day pillar's days from it on.
            long n = FloorDiv(lo - b.to + kMinutesPerDay - 1, kMinutesPerDay);
            n += ((p.day - DayPillar(DateOfDayNumber(n))) % 60 + 60) % 60;
            for (; n * kMinutesPerDay + b.from <= hi; n += 60) {
                const long from = std::max(n * kMinutesPerDay + b.from, lo);
                const long to = std::min(n * kMinutesPerDay + b.to, hi);
                if (from <= to) result.windows.push_back({MinuteAt(from), MinuteAt(to)});
            }
        }
    }
    std::sort(result.windows.begin(), result.windows.end(), [](const BirthWindow& a, const BirthWindow& b) {
        return MinuteNumber(a.first.date, TimeOfDay::Hms(a.first.hour, a.first.minute)) <
               MinuteNumber(b.first.date, TimeOfDay::Hms(b.first.hour, b.first.minute));
    });
    return result;
}

NamedPillar PillarFromName(std::string_view name) {
    NamedPillar out;
    Stem stem = 0;
    Branch branch = 0;
    for (Stem s = 1; s <= 10 && !stem; ++s)
        if (name.substr(0, StemName(s).size()) == StemName(s)) stem = s;
    if (stem) {
        const std::string_view rest = name.substr(StemName(stem).size());
        for (Branch b = 1; b <= 12 && !branch; ++b)
            if (rest == BranchName(b)) branch = b;
    }
    if (!stem || !branch) {
        out.problem.assign(1, '\'');
        out.problem += name;
        out.problem += "' is no pillar: a stem 甲..癸 followed by a branch 子..亥";
        return out;
    }
    if (stem % 2 != branch % 2) {
        out.problem.assign(1, '\'');
        out.problem += name;
        out.problem += "' is no pillar of the sixty: ";
        out.problem += StemName(stem);
        out.problem += stem % 2 ? " is a yang stem and " : " is a yin stem and ";
        out.problem += BranchName(branch);
        out.problem += branch % 2 ? " a yang branch" : " a yin branch";
        return out;
    }
    out.pillar = PillarOf(stem, branch);
    return out;
}

}  // namespace tl
