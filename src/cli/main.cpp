// tenglan-cli: the chart engine, places, calendar and archive on the command
// line.
#include <iostream>
#include <string_view>

#include "cli/commands.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tenglan-cli COMMAND [OPTIONS]\n"
    "\n"
    "  chart --date YYYY-MM-DD --time HH:MM [--female] [--lunar [--leap]]\n"
    "        [--true-solar] [--province N] [--place N]\n"
    "        [--name TEXT] [--json | --gbk]  one chart: the report, or JSON\n"
    "        [--zi-day-change 23|0]          the day pillar changes at 23:00 (default)\n"
    "                                        or at midnight\n"
    "        [--no-dst]                      keep a clock time in daylight saving\n"
    "                                        time as entered\n"
    "  batch [--report]                      CSV births on stdin, JSON lines out;\n"
    "                                        columns name, sex, calendar, date,\n"
    "                                        time, leap, province, place, truesolar,\n"
    "                                        zi (23 or 0), dst (0 or 1)\n"
    "  places [PROVINCE]                     the provinces, or a province's places\n"
    "                                        with their corrections in minutes\n"
    "  calendar YEAR MONTH [DAY]             a month of the perpetual calendar\n"
    "  archive list [FOLDER]                 the saved charts of a program folder\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace tl::cli;
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "chart") return CmdChart(args);
    if (command == "batch") return CmdBatch(args);
    if (command == "places") return CmdPlaces(args);
    if (command == "calendar") return CmdCalendar(args);
    if (command == "archive") return CmdArchive(args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << "tenglan-cli: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
