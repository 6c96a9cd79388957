#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/years.h"
#include "chart/request.h"
#include "cli/chart_args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "perpetual/month_view.h"
#include "place/gazetteer.h"
#include "text/utf8.h"

namespace tl::cli {

namespace {

// One line per command and per option, each with its words beside it, so
// that the manual page made from it (help2man) reads as a list as well.
constexpr std::string_view kUsage =
    "usage: tenglan-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  chart                        one chart: the report, or JSON (options below)\n"
    "  batch [--report]             CSV births on stdin, JSON lines out; columns name,\n"
    "                               sex, calendar, date, time, leap, province, place,\n"
    "                               truesolar, zi (23 or 0), dst (0 or 1)\n"
    "  places [PROVINCE]            the provinces, or a province's places with their\n"
    "                               corrections in minutes\n"
    "  calendar YEAR MONTH [DAY]    a month of the perpetual calendar\n"
    "  archive list [FOLDER]        the saved charts of a program folder\n"
    "  COMMAND --help               the options of a command\n"
    "\n"
    "Options of chart:\n"
    "  --date YYYY-MM-DD            the birth date (required)\n"
    "  --time HH:MM                 the birth time (required)\n"
    "  --female                     a woman's chart\n"
    "  --lunar                      the date is a lunar date\n"
    "  --leap                       with --lunar: the month is the leap month\n"
    "  --true-solar                 correct the birth time to true solar time\n"
    "  --province N                 the birth province (0 = not considered)\n"
    "  --place N                    the birthplace within the province\n"
    "  --name TEXT                  the name the report shows\n"
    "  --json                       the chart, the report and its red passages as JSON\n"
    "  --gbk                        the report in GBK, as a saved file holds it\n"
    "  --zi-day-change 23|0         the day pillar changes at 23:00 (default) or at\n"
    "                               midnight\n"
    "  --no-dst                     keep a clock time in daylight saving time as entered\n";

// A whole decimal number lo..hi: digits only (no sign, no blanks, no other
// base), handed on in its plain form for CLI11 to store.
CLI::Validator WholeNumber(int lo, int hi) {
    return CLI::Validator(
        [lo, hi](std::string& text) -> std::string {
            const auto value = ParseIntInRange(text, lo, hi);
            if (!value) return "must be " + RangeText(lo, hi) + ", got '" + text + "'";
            text = std::to_string(*value);
            return {};
        },
        RangeText(lo, hi));
}

using BirthReader = bool (*)(std::string_view, ChartRequest&, std::string&);

// A birth date or time as `chart` and `batch` read it. The message names
// the number that is out of its range, or else the form expected.
CLI::Validator BirthField(BirthReader read, std::string form) {
    return CLI::Validator(
        [read, form](std::string& text) -> std::string {
            ChartRequest scratch;
            std::string problem;
            if (read(text, scratch, problem)) return {};
            return problem.empty() ? "must be " + form + ", got '" + text + "'" : problem;
        },
        std::string());
}

// The options of `chart`, stored as they are read.
struct ChartCommand {
    ChartOptions options;
    std::optional<std::string> place;  // checked once the province is known
    bool leap = false;

    CLI::App* Add(CLI::App& app) {
        CLI::App* chart = app.add_subcommand("chart", "One chart: the report as the report box holds it, or JSON.");
        ChartRequest& r = options.request;
        chart->add_option_function<std::string>(
                 "--date", [&r](const std::string& text) {
                     std::string checked;  // by BirthField, before this runs
                     ReadBirthDate(text, r, checked);
                 },
                 "the birth date, year " + RangeText(kCalendarFirstYear, kCalendarLastYear))
            ->type_name("YYYY-MM-DD")
            ->required()
            ->check(BirthField(ReadBirthDate, "YYYY-MM-DD"));
        chart->add_option_function<std::string>(
                 "--time", [&r](const std::string& text) {
                     std::string checked;
                     ReadBirthTime(text, r, checked);
                 },
                 "the birth time, 00:00..23:59")
            ->type_name("HH:MM")
            ->required()
            ->check(BirthField(ReadBirthTime, "HH:MM"));
        // The sex options count in the order given: the last one wins.
        chart->add_flag_callback("--female", [&r] { r.isMale = false; }, "a woman's chart")->trigger_on_parse();
        chart->add_flag_callback("--male", [&r] { r.isMale = true; }, "a man's chart (the default)")
            ->trigger_on_parse();
        CLI::Option* lunar =
            chart->add_flag_callback("--lunar", [&r] { r.isSolarInput = false; }, "the date is a lunar date");
        chart->add_flag("--leap", leap, "the lunar month is the leap month")->needs(lunar);
        chart->add_flag("--true-solar", r.useTrueSolarTime, "correct the birth time to true solar time");
        chart->add_option("--province", r.provinceIndex, "the birth province, a number `places` lists (0 = 不考虑)")
            ->type_name("N")
            ->transform(WholeNumber(0, kProvinceCount - 1));
        chart->add_option("--place", place, "the birthplace, a number `places PROVINCE` lists (default 1)")
            ->type_name("N");
        chart->add_option("--name", options.rawName, "the name the report shows, UTF-8");
        chart->add_flag("--json", options.json, "the chart, the report and its red passages as JSON");
        chart->add_flag("--gbk", options.gbk, "the report in GBK, as a saved file holds it");
        chart->add_option_function<std::string>(
                 "--zi-day-change",
                 [&r](const std::string& text) { r.ziDayChange = ParseZiDayChangeHour(text).value_or(23); },
                 "the hour at which the day pillar changes: 23 (the default) or 0")
            ->type_name("23|0")
            ->check(CLI::Validator(
                [](std::string& text) -> std::string {
                    return ParseZiDayChangeHour(text) ? std::string() : "must be 23 or 0, got '" + text + "'";
                },
                std::string()));
        // A clock time that lies in daylight saving time is moved back to
        // standard time unless --no-dst says otherwise.
        r.applyDaylightSaving = true;
        chart->add_flag_callback("--no-dst", [&r] { r.applyDaylightSaving = false; },
                                 "keep a clock time in daylight saving time as entered");
        return chart;
    }

    // The checks that need more than one option; an empty text when all is well.
    std::string Finish() {
        const int province = options.request.provinceIndex;
        if (place) {
            const auto q = ParsePlaceNumber(*place);
            if (!q || *q > PlaceCount(province)) {
                return "--place must be " + RangeText(1, PlaceCount(province)) + " for province " +
                       std::to_string(province) + " (" + std::string(ProvinceItem(province)) + "), got '" + *place +
                       "'";
            }
            options.request.placeIndex = *q;
        }
        options.request.isLeapMonth = leap;
        options.request.personName = Trim(options.rawName);
        return ImpossibleDateMessage(options.request);
    }
};

}  // namespace

int RunCommandLine(int argc, char** argv) {
    CLI::App app("The chart engine, places, calendar and archive of tenglan.", "tenglan-cli");
    app.require_subcommand(1);
    // An option given twice: the last one counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    ChartCommand chart;
    const CLI::App* chartCommand = chart.Add(app);

    bool withReport = false;
    CLI::App* batch =
        app.add_subcommand("batch", "CSV births on stdin (a header line names the columns: name, sex, calendar, "
                                    "date, time, leap, province, place, truesolar), one JSON line per birth out.");
    batch->add_flag("--report", withReport, "each line also carries the report and its red passages");

    std::optional<int> province;
    CLI::App* places =
        app.add_subcommand("places", "The provinces, or one province's places with their corrections in minutes.");
    places->add_option("PROVINCE", province, "a province's number, as the list of provinces gives it")
        ->transform(WholeNumber(0, kProvinceCount - 1));

    int year = 0;
    int month = 0;
    std::optional<int> day;
    CLI::App* calendar =
        app.add_subcommand("calendar", "A month of the perpetual calendar, or the sexagenary names of one day.");
    calendar->add_option("YEAR", year, "the year")
        ->required()
        ->transform(WholeNumber(kCalendarFirstYear, kCalendarLastYear));
    calendar->add_option("MONTH", month, "the month")->required()->transform(WholeNumber(1, 12));
    calendar->add_option("DAY", day, "a day of the month")->transform(WholeNumber(1, 31));

    std::optional<std::string> folder;
    CLI::App* archive = app.add_subcommand("archive", "The archive of saved charts.");
    archive->require_subcommand(1);
    CLI::App* list = archive->add_subcommand("list", "The saved charts of a program folder, as the archive window "
                                                     "lists them.");
    list->add_option("FOLDER", folder, "the program folder (default: the folder of tenglan-cli)");

    CLI::App* help = app.add_subcommand("help", "This overview of the commands.");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        if (app.get_subcommands().empty()) return WriteOutput(kUsage) ? 0 : OutputFailed("");
        return WriteOutput(app.help()) ? 0 : OutputFailed(app.get_subcommands().front()->get_name());
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty()) {
            // No command, or none that exists: the overview.
            if (argc > 1) Complain("", "unknown command '" + std::string(argv[1]) + "'", 2);
            std::cerr << kUsage;
            return 2;
        }
        return Complain(app.get_subcommands().front()->get_name(), e.what(), 2);
    }

    if (help->parsed()) return WriteOutput(kUsage) ? 0 : OutputFailed("");
    if (batch->parsed()) return CmdBatch(withReport);
    if (places->parsed()) return CmdPlaces(province);
    if (calendar->parsed()) {
        if (day && *day > yueend(year, month))
            return Complain("calendar", "DAY must be " + RangeText(1, yueend(year, month)) + ", got '" +
                                            std::to_string(*day) + "'",
                            2);
        return CmdCalendar(year, month, day);
    }
    if (list->parsed()) return CmdArchiveList(folder);
    if (!chartCommand->parsed()) return Complain("", "no command", 2);
    if (const std::string problem = chart.Finish(); !problem.empty()) return Complain("chart", problem, 2);
    return CmdChart(chart.options);
}

}  // namespace tl::cli
