#include "report/periods_text.h"

#include <cstdio>

#include "chart/chart.h"
#include "report/sections.h"
#include "text/utf8.h"

namespace tl {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string MonthName(Pillar p) { return std::string(BranchName(BranchOf(p))) + "月"; }

// Pads to `width` display columns.
std::string Column(std::string_view text, std::size_t width) {
    std::string out(text);
    for (std::size_t w = DisplayWidth(text); w < width; ++w) out += ' ';
    return out;
}

class Lines {
public:
    void Add(const std::string& line, bool marked) {
        if (marked) result_.marked.push_back({chars_, static_cast<int>(Utf8Length(line))});
        result_.text += line;
        result_.text += kCrLf;
        chars_ += static_cast<int>(Utf8Length(line)) + 2;
    }
    PeriodsText Take() { return std::move(result_); }

private:
    PeriodsText result_;
    int chars_ = 0;
};

std::string ClockText(TimeOfDay t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour(), t.minute());
    return buf;
}

std::string Words(const PeriodPillar& p) {
    return "   " + Column(TenGodLabel(p.tenGod), 4) + std::string(GrowthStageLabel(p.growthStage));
}

}  // namespace

std::string IsoDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string IsoMinute(const Date& d, TimeOfDay t) { return IsoDate(d) + "T" + ClockText(t); }

PeriodsText BuildPeriodsText(const YearPeriods& year, const std::vector<PeriodDay>* days, int dayMonth,
                             const Chart* chart, const std::optional<ClockNow>& now) {
    const bool withChart = chart != nullptr;
    Lines lines;
    std::string title = "  " + std::to_string(year.year) + "年   流年: " + std::string(PillarName(year.annualPillar));
    if (withChart)
        title += "   大运: " + (year.luckPillar ? std::string(PillarName(year.luckPillar)) : std::string("无"));
    lines.Add(title, false);
    if (chart) {
        std::string natal = "  八字: ";
        for (Pillar p : {chart->yearPillar, chart->monthPillar, chart->dayPillar, chart->hourPillar})
            natal += std::string(PillarName(p)) + " ";
        lines.Add(natal + "  日主: " + std::string(StemName(chart->dayStem)), false);
    }
    lines.Add("", false);

    const int nowMonth = now ? MonthHolding(year, now->date, now->time) : 0;
    lines.Add(std::string("  流月   干支   交节时间") + (withChart ? "                十神  长生" : ""), false);
    for (std::size_t i = 0; i < year.months.size(); ++i) {
        const PeriodMonth& m = year.months[i];
        const bool marked = nowMonth == static_cast<int>(i) + 1;
        std::string line = "  " + MonthName(m.pillar.pillar) + "   " + std::string(PillarName(m.pillar.pillar)) +
                           "   " + IsoDate(m.start.date) + " " + ClockText(m.start.time) + " " +
                           std::string(JieName(m.start.date.month));
        if (withChart) line += Words(m.pillar);
        if (marked) line += "   ▲本月";
        lines.Add(line, marked);
    }

    if (days && dayMonth >= 1 && dayMonth <= 12) {
        const PeriodMonth& m = year.months[static_cast<std::size_t>(dayMonth - 1)];
        lines.Add("", false);
        lines.Add("  " + MonthName(m.pillar.pillar) + std::string(PillarName(m.pillar.pillar)) + "流日:", false);
        lines.Add(std::string("  日期         干支") + (withChart ? "   十神  长生" : ""), false);
        for (const PeriodDay& d : *days) {
            const bool marked = now && now->date == d.date;
            std::string line = "  " + IsoDate(d.date) + "   " + std::string(PillarName(d.pillar.pillar));
            if (withChart) line += Words(d.pillar);
            if (marked) line += "   ▲今日";
            lines.Add(line, marked);
        }
    }
    return lines.Take();
}

}  // namespace tl
