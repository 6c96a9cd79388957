#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "calendar/years.h"
#include "chart/request.h"
#include "cli/batch_columns.h"
#include "cli/chart_args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "perpetual/month_view.h"
#include "place/gazetteer.h"
#include "settings/zi_day_change.h"
#include "text/script.h"
#include "text/utf8.h"

namespace tl::cli {

namespace {

// One line per command and per option, each with its words beside it, so
// that the manual page made from it (help2man) reads as a list as well. The
// columns of `batch` come from their table.
constexpr std::string_view kUsageHead =
    "usage: tenglan-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  chart                        one chart: the report, or JSON (options below)\n"
    "  batch [--report] [--values]  CSV births on stdin, JSON lines out;\n";
constexpr std::string_view kUsageTail =
    "  places [PROVINCE]            the provinces, or a province's places with their\n"
    "                               corrections in minutes\n"
    "  places --countries [--json]  the countries of the world list\n"
    "  places --country CC [--json] a country's cities\n"
    "  calendar YEAR MONTH [DAY]    a month of the perpetual calendar; [--script hans|hant]\n"
    "  archive list [FOLDER]        the saved charts of a program folder\n"
    "  reverse --pillars Y,M,D,H    the birth times of four pillars (八字反推);\n"
    "                               [--zi-day-change 23|0] [--json]\n"
    "  periods --year Y [--month M] a year's luck, annual and month pillars, a\n"
    "                               month's day pillars; [--json] and the options\n"
    "                               of chart for a chart's words\n"
    "  mcp                          a Model Context Protocol server on stdin and stdout,\n"
    "                               for AI assistants\n"
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
    "  --country CC --city NAME [--region NAME]\n"
    "                               a birth abroad: the country's ISO code (e.g. US),\n"
    "                               the city and, for a name held twice, its region\n"
    "  --zone ZONE --longitude DEG [--latitude DEG]\n"
    "                               or a birthplace by its zone and longitude\n"
    "  --name TEXT                  the name the report shows\n"
    "  --json                       the chart, its analysis, the report and its red\n"
    "                               passages as JSON\n"
    "  --gbk                        the report in GBK, as a saved file holds it\n"
    "  --format text|json|gbk|html|md\n"
    "                               the report as text, JSON, GBK, an HTML page or the\n"
    "                               chart as Markdown\n"
    "  --script hans|hant           simplified (default) or traditional characters\n"
    "  --zi-day-change 23|0         the day pillar changes at 23:00 (default) or at\n"
    "                               midnight\n"
    "  --no-dst                     keep a clock time in daylight saving time as entered\n";

std::string Usage() {
    // The columns of batch, wrapped after a column's comma into the second
    // column.
    constexpr std::size_t kIndent = 31;
    constexpr std::size_t kWidth = 50;
    const std::string columns = "columns " + BatchColumnList(true);
    std::string wrapped;
    std::size_t lineStart = 0;
    while (columns.size() - lineStart > kWidth) {
        std::size_t cut = columns.rfind(", ", lineStart + kWidth - 1);
        if (cut == std::string::npos || cut <= lineStart) cut = lineStart + kWidth - 1;
        wrapped += std::string(kIndent, ' ') + columns.substr(lineStart, cut + 1 - lineStart) + "\n";
        lineStart = cut + 2;
    }
    wrapped += std::string(kIndent, ' ') + columns.substr(lineStart) + "\n";
    return std::string(kUsageHead) + wrapped + std::string(kUsageTail);
}


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

// An option that takes one of a few names, read by `parse`; the message
// lists the names.
template <typename Parse>
CLI::Validator NamedChoice(Parse parse, std::string names) {
    return CLI::Validator(
        [parse, names](std::string& text) -> std::string {
            return parse(text) ? std::string() : "must be " + names + ", got '" + text + "'";
        },
        std::string());
}

// --script hans|hant: the texts in simplified or traditional characters.
void AddScriptOption(CLI::App& command, Script& script) {
    command
        .add_option_function<std::string>(
            "--script", [&script](const std::string& text) { script = ScriptFromName(text).value_or(Script::kHans); },
            "simplified (hans, the default) or traditional (hant) characters")
        ->type_name("hans|hant")
        ->check(NamedChoice(ScriptFromName, "hans or hant"));
}

// The options of `chart`, stored as they are read.
struct ChartCommand {
    ChartOptions options;
    std::optional<std::string> place;  // checked once the province is known
    std::optional<ChartFormat> format;
    bool json = false;
    bool gbk = false;
    bool leap = false;
    CLI::Option* province = nullptr;
    std::string zone, longitude, latitude;  // a birth abroad, checked together
    std::string country, city, region;

    // `periods` takes the same options for its chart, the birth then
    // optional.
    CLI::App* Add(CLI::App& app, const std::string& name = "chart",
                  const std::string& description = "One chart: the report as the report box holds it, or JSON.",
                  bool birthRequired = true) {
        CLI::App* chart = app.add_subcommand(name, description);
        ChartRequest& r = options.request;
        chart->add_option_function<std::string>(
                 "--date", [&r](const std::string& text) {
                     std::string checked;  // by BirthField, before this runs
                     ReadBirthDate(text, r, checked);
                 },
                 "the birth date, year " + RangeText(kCalendarFirstYear, kCalendarLastYear))
            ->type_name("YYYY-MM-DD")
            ->required(birthRequired)
            ->check(BirthField(ReadBirthDate, "YYYY-MM-DD"));
        chart->add_option_function<std::string>(
                 "--time", [&r](const std::string& text) {
                     std::string checked;
                     ReadBirthTime(text, r, checked);
                 },
                 "the birth time, 00:00..23:59")
            ->type_name("HH:MM")
            ->required(birthRequired)
            ->check(BirthField(ReadBirthTime, "HH:MM"));
        // The sex options count in the order given: the last one wins.
        chart->add_flag_callback("--female", [&r] { r.isMale = false; }, "a woman's chart")->trigger_on_parse();
        chart->add_flag_callback("--male", [&r] { r.isMale = true; }, "a man's chart (the default)")
            ->trigger_on_parse();
        CLI::Option* lunar =
            chart->add_flag_callback("--lunar", [&r] { r.isSolarInput = false; }, "the date is a lunar date");
        chart->add_flag("--leap", leap, "the lunar month is the leap month")->needs(lunar);
        chart->add_flag("--true-solar", r.useTrueSolarTime, "correct the birth time to true solar time");
        province =
            chart->add_option("--province", r.provinceIndex, "the birth province, a number `places` lists (0 = 不考虑)")
                ->type_name("N")
                ->transform(WholeNumber(0, kProvinceCount - 1));
        chart->add_option("--country", country, "a birth abroad: the country's ISO code, e.g. US")
            ->type_name("CC");
        chart->add_option("--city", city, "a birth abroad: the city, its Chinese or Latin name")->type_name("NAME");
        chart->add_option("--region", region, "the city's region, where its name fits several cities")
            ->type_name("NAME");
        chart->add_option("--zone", zone, "a birth abroad: the zone of the time-zone database whose clock the "
                                          "birthplace kept, e.g. America/New_York")
            ->type_name("ZONE");
        chart->add_option("--longitude", longitude, "a birth abroad: the birthplace's longitude, degrees east")
            ->type_name("DEG");
        chart->add_option("--latitude", latitude, "a birth abroad: the birthplace's latitude, degrees north")
            ->type_name("DEG");
        chart->add_option("--place", place, "the birthplace, a number `places PROVINCE` lists (default 1)")
            ->type_name("N");
        chart->add_option("--name", options.rawName, "the name the report shows, UTF-8");
        chart->add_flag("--json", json, "the chart, the report and its red passages as JSON (--format json)");
        chart->add_flag("--gbk", gbk, "the report in GBK, as a saved file holds it (--format gbk)");
        chart->add_option_function<std::string>(
                 "--format", [this](const std::string& text) { format = ChartFormatFromName(text); },
                 "the report as text (the default), the chart as JSON, the report in GBK, the report as an "
                 "HTML page, or the chart as Markdown")
            ->type_name("text|json|gbk|html|md")
            ->check(NamedChoice(ChartFormatFromName, "text, json, gbk, html or md"));
        AddScriptOption(*chart, options.script);
        chart->add_option_function<std::string>(
                 "--zi-day-change",
                 [&r](const std::string& text) { r.ziDayChange = ParseZiDayChange(text).value_or(ZiDayChange::kAt23); },
                 "the hour at which the day pillar changes: 23 (the default) or 0")
            ->type_name("23|0")
            ->check(CLI::Validator(
                [](std::string& text) -> std::string {
                    return ParseZiDayChange(text) && text.find_first_of("\r\n") == std::string::npos ? std::string() : "must be 23 or 0, got '" + text + "'";
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
        const bool byCity = !country.empty() || !city.empty() || !region.empty();
        const bool byLongitude = !zone.empty() || !longitude.empty() || !latitude.empty();
        if (byCity && byLongitude) return "give either --country and --city or --zone and --longitude";
        if ((byCity || byLongitude) && (province->count() > 0 || place))
            return "--province and --place are for births in China, not with --country or --zone";
        if (byCity) {
            WorldPlace world;
            const std::string problem = ReadPlaceByCity(country, city, region, {"--country", "--city", "--region"}, world);
            if (!problem.empty()) return problem;
            options.request.world = std::move(world);
        }
        if (byLongitude) {
            WorldPlace world;
            const std::string problem =
                ReadPlaceByLongitude(zone, longitude, latitude, {"--zone", "--longitude", "--latitude"}, world);
            if (!problem.empty()) return problem;
            options.request.world = std::move(world);
        }
        // --json and --gbk name a format of their own (--json first, as
        // before there was --format); --format may repeat it, not contradict it.
        const std::optional<ChartFormat> flag =
            json ? std::optional(ChartFormat::kJson) : gbk ? std::optional(ChartFormat::kGbk) : std::nullopt;
        if (format && flag && *format != *flag)
            return std::string("--format contradicts ") + (json ? "--json" : "--gbk");
        options.format = format.value_or(flag.value_or(ChartFormat::kText));
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
    bool withValues = false;
    CLI::App* batch = app.add_subcommand(
        "batch", "CSV births on stdin (a header line names the columns: " + BatchColumnList(true) +
                     "), one JSON line per birth out.");
    batch->add_flag("--report", withReport, "each line also carries the report and its red passages");
    batch->add_flag("--values", withValues,
                    "each line also carries the analysis: the natal table, the luck pillars and the annual pillars");

    std::optional<int> province;
    bool countries = false;
    bool placesJson = false;
    std::optional<std::string> country;
    CLI::App* places = app.add_subcommand(
        "places", "The provinces, or one province's places with their corrections in minutes; the countries "
                  "of the world list, or one country's cities.");
    CLI::Option* provinceOption =
        places->add_option("PROVINCE", province, "a province's number, as the list of provinces gives it")
            ->transform(WholeNumber(0, kProvinceCount - 1));
    CLI::Option* countriesOption =
        places->add_flag("--countries", countries, "the countries of the world list")->excludes(provinceOption);
    places->add_option("--country", country, "one country's cities, by its ISO code")
        ->type_name("CC")
        ->excludes(provinceOption)
        ->excludes(countriesOption);
    places->add_flag("--json", placesJson, "the countries or cities as JSON");

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
    Script calendarScript = Script::kHans;
    AddScriptOption(*calendar, calendarScript);

    std::optional<std::string> folder;
    CLI::App* archive = app.add_subcommand("archive", "The archive of saved charts.");
    archive->require_subcommand(1);
    CLI::App* list = archive->add_subcommand("list", "The saved charts of a program folder, as the archive window "
                                                     "lists them.");
    list->add_option("FOLDER", folder, "the program folder (default: the folder of tenglan-cli)");

    ReverseOptions reverseOptions;
    const CLI::App* reverse = AddReverseCommand(app, reverseOptions);
    ChartCommand periodsChart;
    PeriodsOptions periodsOptions;
    const CLI::App* periods = AddPeriodsCommand(
        periodsChart.Add(app, "periods",
                         "A year's luck pillar, annual pillar and twelve month pillars from their jie, or a "
                         "month's day pillars; with a birth, the ten gods and growth stages of its day stem.",
                         false),
        periodsOptions);
    CLI::App* mcp = app.add_subcommand(
        "mcp", "A Model Context Protocol server on stdin and stdout: charts, the calendar and the places as tools "
               "for an AI assistant. Offline; writes no files.");

    CLI::App* help = app.add_subcommand("help", "This overview of the commands.");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        if (app.get_subcommands().empty()) return WriteOutput(Usage()) ? 0 : OutputFailed("");
        return WriteOutput(app.help()) ? 0 : OutputFailed(app.get_subcommands().front()->get_name());
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty()) {
            // No command, or none that exists: the overview.
            if (argc > 1) Complain("", "unknown command '" + std::string(argv[1]) + "'", 2);
            std::cerr << Usage();
            return 2;
        }
        return Complain(app.get_subcommands().front()->get_name(), e.what(), 2);
    }

    if (help->parsed()) return WriteOutput(Usage()) ? 0 : OutputFailed("");
    if (batch->parsed()) return CmdBatch(withReport, withValues);
    if (places->parsed()) {
        if (countries || country) return CmdWorldPlaces(country, placesJson);
        if (placesJson) return Complain("places", "--json goes with --countries or --country", 2);
        return CmdPlaces(province);
    }
    if (calendar->parsed()) {
        if (day && *day > yueend(year, month))
            return Complain("calendar", "DAY must be " + RangeText(1, yueend(year, month)) + ", got '" +
                                            std::to_string(*day) + "'",
                            2);
        return CmdCalendar(year, month, day, calendarScript);
    }
    if (list->parsed()) return CmdArchiveList(folder);
    if (reverse->parsed()) return CmdReverse(reverseOptions);
    if (periods->parsed()) {
        if (const std::string problem = periodsChart.Finish(); !problem.empty()) return Complain("periods", problem, 2);
        if (periodsOptions.withChart) periodsOptions.chart = periodsChart.options.request;
        return CmdPeriods(periodsOptions);
    }
    if (mcp->parsed()) return CmdMcp();
    if (!chartCommand->parsed()) return Complain("", "no command", 2);
    if (const std::string problem = chart.Finish(); !problem.empty()) return Complain("chart", problem, 2);
    return CmdChart(chart.options);
}

}  // namespace tl::cli
