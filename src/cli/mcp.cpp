// tenglan-cli mcp: a Model Context Protocol server on stdin and stdout for
// AI assistants. JSON-RPC 2.0, one message per line. Its tools run the
// commands of tenglan-cli (chart, calendar, places) with the arguments the
// assistant gives, named as the command line names them, so that a tool
// answers exactly what the command prints and fails with the command's own
// message. Offline; it reads nothing but stdin and writes no file.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/years.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "place/gazetteer.h"

namespace tl::cli {

namespace {

using nlohmann::json;

// JSON-RPC error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;

// A line longer than this is no message of any tool call; it is read to
// its end and answered with an error, never held whole.
constexpr std::size_t kMaxMessageBytes = 1 << 20;

// The protocol revisions this server speaks, newest first.
constexpr std::string_view kProtocolVersions[] = {"2025-06-18", "2025-03-26", "2024-11-05"};

// --- the tools --------------------------------------------------------------

// How one argument of a tool becomes command-line words.
enum class ArgKind {
    kFlag,        // boolean: true gives "--NAME"
    kText,        // string: "--NAME=VALUE"
    kNumber,      // whole number (or its text): "--NAME=VALUE"
    kPositional,  // whole number (or its text), a positional after "--"
};

struct ToolArg {
    std::string_view name;
    ArgKind kind;
    bool required;
    json schema;  // its JSON Schema, description included
};

struct Tool {
    std::string_view name;
    std::string_view title;
    std::string_view description;
    std::string_view command;  // the tenglan-cli command it runs
    std::vector<ToolArg> args;
    // Words put before the arguments' own (a default the tool differs in).
    std::function<std::vector<std::string>(const json& arguments)> fixedWords;
};

json Text(std::string_view description) { return {{"type", "string"}, {"description", description}}; }
json Flag(std::string_view description) { return {{"type", "boolean"}, {"description", description}}; }
json Number(std::string_view description, int lo, int hi) {
    return {{"type", "integer"}, {"minimum", lo}, {"maximum", hi}, {"description", description}};
}
json Choice(std::string_view description, std::vector<std::string> names) {
    return {{"type", "string"}, {"enum", names}, {"description", description}};
}

std::string YearRange() { return std::to_string(kCalendarFirstYear) + ".." + std::to_string(kCalendarLastYear); }

const std::vector<Tool>& Tools() {
    static const std::vector<Tool> tools = [] {
        std::vector<Tool> t;
        const json script = Choice("hans: simplified characters (the default); hant: traditional", {"hans", "hant"});
        t.push_back(Tool{
            "chart",
            "Four Pillars chart (八字排盘)",
            "The Four Pillars chart of a birth, computed exactly and offline: the four pillars, ten gods, hidden "
            "stems, growth stages, 纳音, relations, shensha, the ten luck pillars and 91 annual pillars, with the "
            "birth data and every correction (true solar time, daylight saving time, the 子 hour). format json "
            "(the default) gives the chart and its analysis as JSON, md the chart as Markdown, text the plain "
            "report, html the report as a web page.",
            "chart",
            {
                {"date", ArgKind::kText, true,
                 Text("the birth date YYYY-MM-DD, year " + YearRange() + "; Gregorian unless lunar is true")},
                {"time", ArgKind::kText, true, Text("the birth time HH:MM, 00:00..23:59, clock time as recorded")},
                {"female", ArgKind::kFlag, false, Flag("a woman's chart (default: a man's)")},
                {"lunar", ArgKind::kFlag, false, Flag("the date is a Chinese lunar date")},
                {"leap", ArgKind::kFlag, false, Flag("the lunar month is the leap month (with lunar)")},
                {"true-solar", ArgKind::kFlag, false,
                 Flag("correct the birth time to true solar time at the birthplace (province and place)")},
                {"province", ArgKind::kNumber, false,
                 Number("the birth province as the places tool numbers it (0 = 不考虑, the default)", 0,
                        kProvinceCount - 1)},
                {"place", ArgKind::kNumber, false,
                 Number("the birthplace within the province as the places tool numbers it (default 1)", 1, 999)},
                {"name", ArgKind::kText, false, Text("the name the report shows")},
                {"zi-day-change", ArgKind::kNumber, false,
                 json{{"type", "integer"},
                      {"enum", {23, 0}},
                      {"description", "the hour at which the day pillar changes: 23 (the default) or 0"}}},
                {"no-dst", ArgKind::kFlag, false,
                 Flag("keep a clock time that lies in daylight saving time as entered")},
                {"format", ArgKind::kText, false,
                 Choice("json (the default), md, text or html", {"json", "md", "text", "html"})},
                {"script", ArgKind::kText, false, script},
            },
            [](const json& arguments) {
                // JSON unless asked otherwise; GBK bytes are no text for
                // a JSON answer.
                std::vector<std::string> words;
                if (!arguments.contains("format")) words.push_back("--format=json");
                return words;
            },
        });
        t.push_back(Tool{
            "calendar",
            "Perpetual calendar (万年历)",
            "A month of the perpetual calendar (Gregorian days with their lunar dates, jie and qi, the year's "
            "sexagenary name and zodiac), or with day the sexagenary year, month, day and hour pillars of one day.",
            "calendar",
            {
                {"year", ArgKind::kPositional, true, Number("the year", kCalendarFirstYear, kCalendarLastYear)},
                {"month", ArgKind::kPositional, true, Number("the month", 1, 12)},
                {"day", ArgKind::kPositional, false, Number("a day of the month", 1, 31)},
                {"script", ArgKind::kText, false, script},
            },
            {},
        });
        t.push_back(Tool{
            "places",
            "Birthplaces (出生地点)",
            "Without province, the provinces with their numbers; with province, its places with their numbers and "
            "the longitude correction of each in minutes. The numbers are the chart tool's province and place.",
            "places",
            {
                {"province", ArgKind::kPositional, false,
                 Number("a province's number, as the list of provinces gives it", 0, kProvinceCount - 1)},
            },
            {},
        });
        return t;
    }();
    return tools;
}

json ToolList() {
    json list = json::array();
    for (const Tool& tool : Tools()) {
        json properties = json::object();
        json required = json::array();
        for (const ToolArg& a : tool.args) {
            properties[std::string(a.name)] = a.schema;
            if (a.required) required.push_back(a.name);
        }
        list.push_back({{"name", tool.name},
                        {"title", tool.title},
                        {"description", tool.description},
                        {"inputSchema",
                         {{"type", "object"},
                          {"properties", properties},
                          {"required", required},
                          {"additionalProperties", false}}}});
    }
    return list;
}

// The text of a whole-number argument, or nothing for another kind of value.
std::optional<std::string> NumberText(const json& v) {
    if (v.is_number_integer()) return std::to_string(v.get<long long>());
    if (v.is_number_unsigned()) return std::to_string(v.get<unsigned long long>());
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (d == static_cast<double>(static_cast<long long>(d)) && d > -1e15 && d < 1e15)
            return std::to_string(static_cast<long long>(d));
        return std::nullopt;
    }
    if (v.is_string()) return v.get<std::string>();
    return std::nullopt;
}

// The command line of a tool call, or the message why there is none.
struct CommandWords {
    std::vector<std::string> words;
    std::string problem;
};

CommandWords WordsOf(const Tool& tool, const json& arguments) {
    CommandWords c;
    c.words = {"tenglan-cli", std::string(tool.command)};
    std::vector<std::string> positionals;
    if (tool.fixedWords) {
        for (std::string& w : tool.fixedWords(arguments)) c.words.push_back(std::move(w));
    }
    for (const auto& [key, value] : arguments.items()) {
        const ToolArg* arg = nullptr;
        for (const ToolArg& a : tool.args)
            if (a.name == key) arg = &a;
        if (arg == nullptr) {
            std::string names;
            for (const ToolArg& a : tool.args) names += (names.empty() ? "" : ", ") + std::string(a.name);
            c.problem = "unknown argument '" + key + "'; " + std::string(tool.name) + " takes " + names;
            return c;
        }
        std::optional<std::string> text;
        switch (arg->kind) {
            case ArgKind::kFlag:
                if (!value.is_boolean()) {
                    c.problem = key + " must be true or false";
                    return c;
                }
                if (value.get<bool>()) c.words.push_back("--" + key);
                continue;
            case ArgKind::kText:
                if (!value.is_string()) {
                    c.problem = key + " must be a string";
                    return c;
                }
                text = value.get<std::string>();
                break;
            case ArgKind::kNumber:
            case ArgKind::kPositional:
                text = NumberText(value);
                if (!text) {
                    c.problem = key + " must be a whole number";
                    return c;
                }
                break;
        }
        // A command line holds no NUL; the tool takes none either.
        if (text->find('\0') != std::string::npos) {
            c.problem = key + " holds a NUL character";
            return c;
        }
        if (arg->kind == ArgKind::kPositional) {
            positionals.push_back(*text);
        } else {
            c.words.push_back("--" + key + "=" + *text);
        }
    }
    // Positionals in the tool's order, after "--" so that none is read as an
    // option.
    if (!positionals.empty()) {
        c.words.push_back("--");
        for (const ToolArg& a : tool.args) {
            if (a.kind != ArgKind::kPositional || !arguments.contains(a.name)) continue;
            c.words.push_back(*NumberText(arguments.at(std::string(a.name))));
        }
    }
    return c;
}

// A tools/call result: the command's output, or its message as a tool error.
json CallTool(const Tool& tool, const json& arguments) {
    auto result = [](std::string text, bool isError) {
        return json{{"content", json::array({{{"type", "text"}, {"text", std::move(text)}}})}, {"isError", isError}};
    };
    if (tool.name == "chart" && arguments.contains("format") && arguments["format"] == "gbk")
        return result("tenglan-cli chart: --format: gbk is no text for a tool answer; json, md, text or html", true);
    CommandWords c = WordsOf(tool, arguments);
    if (!c.problem.empty()) return result("tenglan-cli " + std::string(tool.command) + ": " + c.problem, true);

    std::vector<char*> argv;
    for (std::string& w : c.words) argv.push_back(w.data());
    argv.push_back(nullptr);
    OutputCapture capture;
    const int status = RunCommandLine(static_cast<int>(c.words.size()), argv.data());
    if (status != 0) {
        std::string message = capture.err();
        while (!message.empty() && message.back() == '\n') message.pop_back();
        if (message.empty()) message = "tenglan-cli " + std::string(tool.command) + ": failed";
        return result(message, true);
    }
    return result(capture.out(), false);
}

// --- the protocol -----------------------------------------------------------

json ErrorResponse(const json& id, int code, std::string message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", std::move(message)}}}};
}

json Result(const json& id, json result) { return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}; }

json InitializeResult(const json& params) {
    std::string_view version = kProtocolVersions[0];
    if (params.is_object() && params.contains("protocolVersion") && params["protocolVersion"].is_string()) {
        const std::string asked = params["protocolVersion"].get<std::string>();
        for (std::string_view v : kProtocolVersions)
            if (v == asked) version = v;
    }
    return {{"protocolVersion", version},
            {"capabilities", {{"tools", {{"listChanged", false}}}}},
            {"serverInfo", {{"name", "tenglan"}, {"title", "腾岚八字排盘"}, {"version", "0.1"}}},
            {"instructions",
             "tenglan computes Four Pillars (八字) charts exactly and offline. Use the chart tool for any pillar, "
             "ten god, luck or annual pillar instead of working them out; the places tool gives the province and "
             "place numbers for true solar time."}};
}

// The answer to one message (an object), or nothing for a notification.
std::optional<json> Answer(const json& message) {
    if (!message.is_object()) return ErrorResponse(nullptr, kInvalidRequest, "a message must be a JSON object");
    const bool hasId = message.contains("id");
    const json id = hasId ? message["id"] : json(nullptr);
    if (hasId && !id.is_string() && !id.is_number_integer() && !id.is_number_unsigned() && !id.is_null())
        return ErrorResponse(nullptr, kInvalidRequest, "id must be a string or a whole number");
    if (!message.contains("method")) {
        // A response to a request of ours (this server sends none): nothing to say.
        if (message.contains("result") || message.contains("error")) return std::nullopt;
        return ErrorResponse(id, kInvalidRequest, "no method");
    }
    if (!message["method"].is_string() || message.value("jsonrpc", json()) != "2.0")
        return ErrorResponse(id, kInvalidRequest, "not a JSON-RPC 2.0 request");
    const std::string method = message["method"].get<std::string>();
    const json params = message.contains("params") ? message["params"] : json::object();
    if (!hasId) return std::nullopt;  // notifications/initialized, notifications/cancelled, ...

    if (method == "initialize") return Result(id, InitializeResult(params));
    if (method == "ping") return Result(id, json::object());
    if (method == "tools/list") return Result(id, {{"tools", ToolList()}});
    if (method == "tools/call") {
        if (!params.is_object() || !params.contains("name") || !params["name"].is_string())
            return ErrorResponse(id, kInvalidParams, "tools/call needs the name of a tool");
        const std::string name = params["name"].get<std::string>();
        const json arguments = params.contains("arguments") ? params["arguments"] : json::object();
        if (!arguments.is_object()) return ErrorResponse(id, kInvalidParams, "arguments must be an object");
        for (const Tool& tool : Tools())
            if (tool.name == name) return Result(id, CallTool(tool, arguments));
        return ErrorResponse(id, kInvalidParams, "unknown tool '" + name + "'");
    }
    return ErrorResponse(id, kMethodNotFound, "unknown method '" + method + "'");
}

// The answer to one line: a message or a batch of them; nothing when all
// were notifications.
std::optional<json> AnswerLine(std::string_view line) {
    json message;
    try {
        message = json::parse(line);
    } catch (const json::parse_error& e) {
        return ErrorResponse(nullptr, kParseError, std::string("not JSON: ") + e.what());
    }
    try {
        if (!message.is_array()) return Answer(message);
        if (message.empty()) return ErrorResponse(nullptr, kInvalidRequest, "an empty batch");
        json answers = json::array();
        for (const json& m : message)
            if (auto a = Answer(m)) answers.push_back(std::move(*a));
        if (answers.empty()) return std::nullopt;
        return answers;
    } catch (const std::exception& e) {
        const json id = message.is_object() && message.contains("id") ? message["id"] : json(nullptr);
        return ErrorResponse(id, kInternalError, e.what());
    }
}

bool Send(const json& answer) {
    return WriteOutput(answer.dump(-1, ' ', false, json::error_handler_t::replace) + "\n");
}

}  // namespace

int CmdMcp() {
    // One message per line; blank lines are skipped, a CR before the LF is
    // allowed. The server ends when stdin ends.
    std::string line;
    bool tooLong = false;
    for (;;) {
        const int c = std::getchar();
        if (c != EOF && c != '\n') {
            if (line.size() < kMaxMessageBytes) {
                line += static_cast<char>(c);
            } else {
                tooLong = true;
            }
            continue;
        }
        if (tooLong) {
            if (!Send(ErrorResponse(nullptr, kInvalidRequest,
                                    "message longer than " + std::to_string(kMaxMessageBytes) + " bytes")))
                return OutputFailed("mcp");
        } else {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos) {
                if (const auto answer = AnswerLine(line); answer && !Send(*answer)) return OutputFailed("mcp");
            }
        }
        line.clear();
        tooLong = false;
        if (c == EOF) return 0;
    }
}

}  // namespace tl::cli
