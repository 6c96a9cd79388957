// tenglan-cli mcp driven as an assistant drives it: one JSON-RPC message
// per line on stdin, one answer per request on stdout.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace tl::test {
namespace {

using nlohmann::json;

// The answers of a session, one JSON value per line.
std::vector<json> Session(const std::vector<std::string>& lines) {
    std::string input;
    for (const std::string& l : lines) input += l + "\n";
    const CliResult r = RunCli({"mcp"}, input);
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<json> answers;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);) answers.push_back(json::parse(line));
    return answers;
}

std::string Call(int id, const std::string& tool, const json& arguments) {
    return json{{"jsonrpc", "2.0"},
                {"id", id},
                {"method", "tools/call"},
                {"params", {{"name", tool}, {"arguments", arguments}}}}
        .dump();
}

TEST(CliMcp, ChartToolAnswersWhatChartJsonPrints) {
    const json birth = {{"date", "1985-03-12"}, {"time", "09:05"}, {"name", "张三"}, {"true-solar", true},
                        {"province", 1},        {"place", 1}};
    json birthMarkdown = birth;
    birthMarkdown["format"] = "md";
    const std::vector<json> a = Session({
        R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18","capabilities":{},"clientInfo":{"name":"test","version":"1"}}})",
        R"({"jsonrpc":"2.0","method":"notifications/initialized"})",
        R"({"jsonrpc":"2.0","id":2,"method":"tools/list"})",
        Call(3, "chart", birth),
        Call(4, "chart", birthMarkdown),
        R"({"jsonrpc":"2.0","id":5,"method":"ping"})",
    });
    ASSERT_EQ(a.size(), 5u);  // the notification has no answer
    EXPECT_EQ(a[0]["id"], 1);
    EXPECT_EQ(a[0]["result"]["protocolVersion"], "2025-06-18");
    EXPECT_TRUE(a[0]["result"]["capabilities"].contains("tools"));

    // The tools with their parameters named as the command line names them.
    std::vector<std::string> names;
    for (const json& t : a[1]["result"]["tools"]) names.push_back(t["name"]);
    EXPECT_EQ(names, (std::vector<std::string>{"chart", "calendar", "places"}));
    const json& chartSchema = a[1]["result"]["tools"][0]["inputSchema"];
    for (const char* p : {"date", "time", "female", "lunar", "leap", "true-solar", "province", "place", "name",
                          "zi-day-change", "no-dst", "format", "script"})
        EXPECT_TRUE(chartSchema["properties"].contains(p)) << p;
    EXPECT_EQ(chartSchema["required"], json({"date", "time"}));

    const CliResult cli = RunCli({"chart", "--date", "1985-03-12", "--time", "09:05", "--name", "张三", "--true-solar",
                                  "--province", "1", "--place", "1", "--json"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_EQ(a[2]["id"], 3);
    EXPECT_EQ(a[2]["result"]["isError"], false);
    EXPECT_EQ(a[2]["result"]["content"][0]["text"], cli.out);

    // The Markdown holds the pillars, ten gods and the 91 annual years of
    // the JSON.
    const json chart = json::parse(cli.out);
    const std::string md = a[3]["result"]["content"][0]["text"];
    std::string pillars = "| 干支 |", tenGods = "| 十神 |";
    for (const char* p : {"year", "month", "day", "hour"}) {
        pillars.append(" ").append(chart["pillars"][p]["name"].get<std::string>()).append(" |");
        tenGods.append(" ").append(chart["natal"][p]["tenGod"].get<std::string>()).append(" |");
    }
    EXPECT_NE(md.find(pillars + "\n"), std::string::npos) << md;
    EXPECT_NE(md.find(tenGods + "\n"), std::string::npos) << md;
    ASSERT_EQ(chart["annual"].size(), 91u);
    std::size_t at = 0;
    for (const json& y : chart["annual"]) {
        const std::string row = "\n| " + std::to_string(y["age"].get<int>()) + " | " +
                                std::to_string(y["year"].get<int>()) + " | " + y["pillar"].get<std::string>() + " | ";
        at = md.find(row, at);
        ASSERT_NE(at, std::string::npos) << row;
    }
    EXPECT_EQ(a[4]["id"], 5);
    EXPECT_EQ(a[4]["result"], json::object());
}

TEST(CliMcp, BadMessagesGetAnErrorAndTheServerGoesOn) {
    const std::vector<json> a = Session({
        R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})",
        R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"cha)",  // cut off
        Call(3, "horoscope", json::object()),
        Call(4, "chart", {{"date", "1899-12-31"}, {"time", "10:00"}}),
        Call(5, "chart", {{"date", "1985-03-12"}, {"time", "09:05"}, {"female", "yes"}}),
        Call(6, "chart", {{"date", "1985-03-12"}, {"time", "09:05"}, {"colour", "red"}}),
        Call(7, "calendar", {{"year", 2008}, {"month", 2}, {"day", 30}}),
        Call(8, "places", {{"province", -1}}),
        R"({"jsonrpc":"2.0","id":9,"method":"resources/list"})",
        "[1,2]",
        std::string("\xC3\x28"),
        Call(10, "calendar", {{"year", 2008}, {"month", 2}, {"day", 4}}),
    });
    ASSERT_EQ(a.size(), 12u);
    EXPECT_EQ(a[1]["error"]["code"], -32700);  // parse error
    EXPECT_EQ(a[1]["id"], nullptr);
    EXPECT_EQ(a[2]["id"], 3);
    EXPECT_EQ(a[2]["error"]["code"], -32602);  // unknown tool
    // Bad arguments: a tool error with the command line's own message.
    const struct {
        std::size_t answer;
        const char* text;
    } toolErrors[] = {
        {3, "tenglan-cli chart: --date: year must be 1900..2100, got '1899'"},
        {4, "tenglan-cli chart: female must be true or false"},
        {5, "tenglan-cli chart: unknown argument 'colour'; chart takes date, time, female, lunar, leap, true-solar, "
            "province, place, name, zi-day-change, no-dst, format, script"},
        {6, "tenglan-cli calendar: DAY must be 1..29, got '30'"},
        {7, "tenglan-cli places: PROVINCE: must be 0..34, got '-1'"},
    };
    for (const auto& e : toolErrors) {
        EXPECT_EQ(a[e.answer]["result"]["isError"], true) << e.text;
        EXPECT_EQ(a[e.answer]["result"]["content"][0]["text"], e.text);
    }
    EXPECT_EQ(a[8]["error"]["code"], -32601);  // unknown method
    ASSERT_TRUE(a[9].is_array());              // a batch of two bad requests
    EXPECT_EQ(a[9].size(), 2u);
    EXPECT_EQ(a[9][0]["error"]["code"], -32600);
    EXPECT_EQ(a[10]["error"]["code"], -32700);  // not UTF-8
    EXPECT_EQ(a[11]["id"], 10);
    EXPECT_EQ(a[11]["result"]["content"][0]["text"], "2008年2月4日\n戊子年 甲寅月 甲戌日 甲子起时 \n");
}

}  // namespace
}  // namespace tl::test
