// tenglan-cli reverse --pillars Y,M,D,H: the birth times of four pillars
// (八字反推), one window a line or as JSON.
#include <CLI/CLI.hpp>

#include <string>
#include <string_view>

#include "calendar/reverse.h"
#include "calendar/years.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "settings/zi_day_change.h"
#include "cli/output.h"
#include "text/utf8.h"

namespace tl::cli {

namespace {

std::string Minute(const ClockMinute& m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d", m.date.year, m.date.month, m.date.day, m.hour,
                  m.minute);
    return buf;
}

// "庚午,壬午,丁卯,甲辰" (blanks around the names allowed) into four pillars;
// an empty text when all is well, else what is wrong.
std::string ReadPillars(std::string_view text, Pillars& out) {
    Pillar* const slots[] = {&out.year, &out.month, &out.day, &out.hour};
    std::size_t start = 0;
    int count = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string name = Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (count == 4) return "--pillars must be four pillars joined by ',', got '" + std::string(text) + "'";
        const NamedPillar p = PillarFromName(name);
        if (!p.problem.empty()) return p.problem;
        *slots[count++] = p.pillar;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != 4) return "--pillars must be four pillars joined by ',', got '" + std::string(text) + "'";
    return {};
}

}  // namespace

CLI::App* AddReverseCommand(CLI::App& app, ReverseOptions& options) {
    CLI::App* reverse = app.add_subcommand(
        "reverse", "The births whose chart has the four pillars (八字反推): every window of Beijing clock time, to "
                   "the minute, from " + std::to_string(kCalendarFirstYear) + "-01-01 00:00 to " +
                       std::to_string(kCalendarLastYear) + "-12-31 23:59, without daylight saving or true solar time.");
    reverse->add_option("--pillars", options.pillars, "year, month, day and hour pillar, e.g. 庚午,壬午,丁卯,甲辰")
        ->type_name("Y,M,D,H")
        ->required();
    reverse
        ->add_option_function<std::string>(
            "--zi-day-change",
            [&options](const std::string& text) {
                options.ziDayChange = ParseZiDayChange(text).value_or(ZiDayChange::kAt23);
            },
            "the hour at which the day pillar changes: 23 (the default) or 0")
        ->type_name("23|0")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                return ParseZiDayChange(text) && text.find_first_of("\r\n") == std::string::npos
                           ? std::string()
                           : "must be 23 or 0, got '" + text + "'";
            },
            std::string()));
    reverse->add_flag("--json", options.json, "{\"windows\": [{\"from\": ..., \"to\": ...}]}");
    return reverse;
}

// The windows in time order, "FROM .. TO" a line (or JSON). Four pillars
// that no birth can have: the reason and status 2; none in the range: no
// window and a line on stderr saying so, status 0.
int CmdReverse(const ReverseOptions& options) {
    if (!IsValidUtf8(options.pillars)) return Complain("reverse", "--pillars is not valid UTF-8", 2);
    Pillars pillars;
    if (const std::string problem = ReadPillars(options.pillars, pillars); !problem.empty())
        return Complain("reverse", problem, 2);
    const ReverseResult result = ReversePillars(pillars, options.ziDayChange == ZiDayChange::kAt23);
    if (result.fault != ReverseFault::None) return Complain("reverse", result.reason, 2);

    std::string out;
    if (options.json) {
        JsonWriter w;
        w.BeginObject().Key("windows").BeginArray();
        for (const BirthWindow& window : result.windows)
            w.BeginObject().Key("from").String(Minute(window.first)).Key("to").String(Minute(window.last)).EndObject();
        w.EndArray().EndObject();
        out = w.str() + "\n";
    } else {
        for (const BirthWindow& window : result.windows) {
            std::string from = Minute(window.first), to = Minute(window.last);
            from[10] = ' ';
            to[10] = ' ';
            out += from + " .. " + to + "\n";
        }
    }
    if (!WriteOutput(out)) return OutputFailed("reverse");
    if (result.windows.empty())
        Complain("reverse", "no birth from " + std::to_string(kCalendarFirstYear) + "-01-01 00:00 to " +
                                std::to_string(kCalendarLastYear) + "-12-31 23:59 has these pillars",
                 0);
    return 0;
}

}  // namespace tl::cli
