// tenglan-cli reverse and periods, run as a separate program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace tl {
namespace {

using test::CliResult;
using test::RunCli;

TEST(CliReverse, WindowsReasonsAndExitStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* out;  // a part of stdout ("" for empty stdout)
        const char* err;  // a part of stderr ("" for empty stderr)
    };
    const Case cases[] = {
        {{"reverse", "--pillars", "庚午,壬午,丁卯,甲辰", "--json"}, 0,
         "{\"from\":\"1990-07-01T07:00\",\"to\":\"1990-07-01T08:59\"}", ""},
        {{"reverse", "--pillars", "庚午, 壬午, 丁卯, 甲辰"}, 0, "1990-07-01 07:00 .. 1990-07-01 08:59\n", ""},
        // The late 子 hour of 丁卯 under each rule.
        {{"reverse", "--pillars", "庚午,壬午,丁卯,壬子", "--zi-day-change", "0"}, 0,
         "1990-07-01 23:00 .. 1990-07-01 23:59\n", ""},
        {{"reverse", "--pillars", "庚午,壬午,丁卯,壬子"}, 2, "", "五鼠遁"},
        {{"reverse", "--pillars", "庚午,甲午,丁卯,甲辰"}, 2, "", "五虎遁"},
        {{"reverse", "--pillars", "甲丑,壬午,丁卯,甲辰"}, 2, "", "no pillar of the sixty"},
        {{"reverse", "--pillars", "庚午,壬午,丁卯"}, 2, "", "four pillars"},
        {{"reverse", "--pillars", "庚午,壬午,丁卯,甲辰", "--zi-day-change", "1"}, 2, "", "23 or 0"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[2] << ": " << r.err;
        if (*c.out) EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        else EXPECT_EQ(r.out, "");
        if (*c.err) EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        else EXPECT_EQ(r.err, "");
    }
}

TEST(CliReverse, NoBirthInTheRange) {
    // Possible pillars whose day never falls in their month within the
    // range: an empty list, a line saying so, status 0. Found by trying
    // the 甲子 year's 丙寅 month with every 甲/己 day's 甲子 hour.
    const char* const days[] = {"甲子", "甲戌", "甲申", "甲午", "甲辰", "甲寅", "己巳", "己卯", "己丑", "己亥", "己酉", "己未"};
    int empty = 0;
    for (const char* day : days) {
        const CliResult r = RunCli({"reverse", "--pillars", std::string("甲子,丙寅,") + day + ",甲子", "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        if (r.out == "{\"windows\":[]}\n") {
            ++empty;
            EXPECT_NE(r.err.find("no birth from 1900-01-01 00:00 to 2100-12-31 23:59"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
    }
    EXPECT_GT(empty, 0);
}

TEST(CliPeriods, JsonKeysWithAndWithoutChart) {
    const CliResult bare = RunCli({"periods", "--year", "2024", "--json"});
    ASSERT_EQ(bare.status, 0) << bare.err;
    EXPECT_EQ(bare.out.find("{\"year\":2024,\"annualPillar\":\"甲辰\",\"months\":[{\"pillar\":\"丙寅\",\"start\":"
                            "\"2024-02-04T16:27\"},{\"pillar\":\"丁卯\""),
              0u)
        << bare.out;
    EXPECT_EQ(bare.out.find("tenGod"), std::string::npos);
    EXPECT_EQ(bare.out.find("days"), std::string::npos);

    const CliResult chart = RunCli({"periods", "--year", "2024", "--month", "1", "--date", "1990-07-01", "--time",
                                    "07:30", "--json"});
    ASSERT_EQ(chart.status, 0) << chart.err;
    EXPECT_NE(chart.out.find("\"luckPillar\":\""), std::string::npos) << chart.out;
    EXPECT_NE(chart.out.find("{\"pillar\":\"丙寅\",\"start\":\"2024-02-04T16:27\",\"tenGod\":\"劫\",\"growthStage\":\"死\"}"),
              std::string::npos)
        << chart.out;
    EXPECT_NE(chart.out.find("\"days\":[{\"date\":\"2024-02-04\",\"pillar\":\"戊戌\",\"tenGod\":\"伤\""),
              std::string::npos)
        << chart.out;

    const CliResult text = RunCli({"periods", "--year", "2024"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("  寅月   丙寅   2024-02-04 16:27 立春\n"), std::string::npos) << text.out;

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"periods", "--year", "2101"}, {"periods", "--year", "2024", "--month", "13"},
          {"periods", "--year", "2024", "--female"}, {"periods", "--year", "2024", "--date", "1990-07-01"}}) {
        const CliResult r = RunCli(bad);
        EXPECT_EQ(r.status, 2) << bad.back() << ": " << r.out;
        EXPECT_NE(r.err, "");
    }
}

}  // namespace
}  // namespace tl
