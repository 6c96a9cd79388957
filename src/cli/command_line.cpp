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
#include "text/utf8.h"

namespace tl::cli {

namespace {

constexpr std::string_view kUsageHead =
    "usage: tenglan-cli COMMAND [OPTIONS]\n"
    "\n"
    "  chart --date YYYY-MM-DD --time HH:MM [--female] [--lunar [--leap]]\n"
    "        [--true-solar] [--province N] [--place N]\n"
    "        [--country CC --city NAME [--region NAME]]  a birth abroad\n"
    "        [--zone ZONE --longitude DEG [--latitude DEG]]  or by its longitude\n"
    "        [--name TEXT] [--json | --gbk]  one chart: the report, or JSON\n"
    "        [--zi-day-change 23|0]          the day pillar changes at 23:00 (default)\n"
    "                                        or at midnight\n"
    "        [--no-dst]                      keep a clock time in daylight saving\n"
    "                                        time as entered\n"
    "  batch [--report] [--values]           CSV births on stdin, JSON lines out;\n";
constexpr std::string_view kUsageTail =
    "  places [PROVINCE]                     the provinces, or a province's places\n"
    "                                        with their corrections in minutes\n"
    "  places --countries [--json]           the countries of the world list\n"
    "  places --country CC [--json]          a country's cities\n"
    "  calendar YEAR MONTH [DAY]             a month of the perpetual calendar\n"
    "  archive list [FOLDER]                 the saved charts of a program folder\n"
    "  COMMAND --help                        the options of a command\n";

// The overview of the commands; the columns of `batch` come from their
// table.
std::string Usage() {
    std::string columns = "columns " + BatchColumnList(true);
    // Wrapped after a column's comma into the second column, 40 characters
    // wide.
    std::string wrapped;
    constexpr std::size_t kWidth = 40;
    std::size_t lineStart = 0;
    while (columns.size() - lineStart > kWidth) {
        std::size_t cut = columns.rfind(", ", lineStart + kWidth - 1);
        if (cut == std::string::npos || cut <= lineStart) cut = lineStart + kWidth - 1;
        wrapped += std::string(40, ' ') + columns.substr(lineStart, cut + 1 - lineStart) + "\n";
        lineStart = cut + 2;
    }
    wrapped += std::string(40, ' ') + columns.substr(lineStart) + "\n";
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

// The options of `chart`, stored as they are read.
struct ChartCommand {
    ChartOptions options;
    std::optional<std::string> place;  // checked once the province is known
    bool leap = false;
    CLI::Option* province = nullptr;
    std::string zone, longitude, latitude;  // a birth abroad, checked together
    std::string country, city, region;

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
        chart->add_flag("--json", options.json, "the chart, the report and its red passages as JSON");
        chart->add_flag("--gbk", options.gbk, "the report in GBK, as a saved file holds it");
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
        return {};
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
        return CmdCalendar(year, month, day);
    }
    if (list->parsed()) return CmdArchiveList(folder);
    if (!chartCommand->parsed()) return Complain("", "no command", 2);
    if (const std::string problem = chart.Finish(); !problem.empty()) return Complain("chart", problem, 2);
    return CmdChart(chart.options);
}

}  // namespace tl::cli
