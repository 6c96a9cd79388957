// tenglan-cli periods --year Y [--month M]: a year's luck pillar, annual
// pillar and twelve 流月, a month's 流日; with a birth, the ten gods and
// growth stages seen from its day stem.
#include <CLI/CLI.hpp>

#include <string>

#include "analysis/periods.h"
#include "calendar/years.h"
#include "report/periods_text.h"
#include "chart/run.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/output.h"

namespace tl::cli {

namespace {

// A word of the report without its brackets and padding: "[ 病 ]" is 病.
void WriteWords(JsonWriter& w, const PeriodPillar& p) {
    w.Key("tenGod").String(TenGodName(p.tenGod));
    w.Key("growthStage").String(GrowthStageName(p.growthStage));
}

}  // namespace

CLI::App* AddPeriodsCommand(CLI::App* periods, PeriodsOptions& options) {
    // The birth options of `chart` describe the chart; the report's own
    // name and encoding have no place here.
    for (const char* unused : {"--name", "--gbk", "--json"}) periods->remove_option(periods->get_option(unused));
    CLI::Option* date = periods->get_option("--date");
    CLI::Option* time = periods->get_option("--time");
    for (CLI::Option* birth : periods->get_options()) {
        if (birth != date && birth != time && birth != periods->get_help_ptr()) birth->needs(date);
    }
    date->needs(time);
    time->needs(date);
    periods->add_option("--year", options.year, "the solar year, from its 立春")
        ->required()
        ->type_name("Y")
        ->check(CLI::Range(kCalendarFirstYear, kCalendarLastYear));
    periods->add_option("--month", options.month, "one of its months, 1 = the 寅 month from 立春 .. 12 = 丑")
        ->type_name("M")
        ->check(CLI::Range(1, 12));
    periods->add_flag("--json", options.json,
                      "{\"year\", \"luckPillar\", \"annualPillar\", \"months\": [...], \"days\": [...]}");
    periods->callback([periods, &options] { options.withChart = periods->get_option("--date")->count() > 0; });
    return periods;
}

int CmdPeriods(const PeriodsOptions& options) {
    std::optional<Chart> chart;
    if (options.chart) chart = RunCalendar(*options.chart);
    const Chart* c = chart ? &*chart : nullptr;
    const YearPeriods year = PeriodsOfYear(options.year, c);
    std::vector<PeriodDay> days;
    if (options.month) days = PeriodDaysOf(options.year, *options.month, c);

    std::string out;
    if (options.json) {
        JsonWriter w;
        w.BeginObject();
        w.Key("year").Int(options.year);
        if (c) {
            w.Key("luckPillar");
            if (year.luckPillar) w.String(PillarName(year.luckPillar));
            else w.Raw("null");
        }
        w.Key("annualPillar").String(PillarName(year.annualPillar));
        w.Key("months").BeginArray();
        for (const PeriodMonth& m : year.months) {
            w.BeginObject().Key("pillar").String(PillarName(m.pillar.pillar));
            w.Key("start").String(IsoMinute(m.start.date, m.start.time));
            if (c) WriteWords(w, m.pillar);
            w.EndObject();
        }
        w.EndArray();
        if (options.month) {
            w.Key("days").BeginArray();
            for (const PeriodDay& d : days) {
                w.BeginObject().Key("date").String(IsoDate(d.date)).Key("pillar").String(PillarName(d.pillar.pillar));
                if (c) WriteWords(w, d.pillar);
                w.EndObject();
            }
            w.EndArray();
        }
        w.EndObject();
        out = w.str() + "\n";
    } else {
        out = BuildPeriodsText(year, options.month ? &days : nullptr, options.month.value_or(0), c, std::nullopt).text;
        // The terminal gets newlines.
        for (std::size_t at; (at = out.find("\r\n")) != std::string::npos;) out.erase(at, 1);
    }
    return WriteOutput(out) ? 0 : OutputFailed("periods");
}

}  // namespace tl::cli
