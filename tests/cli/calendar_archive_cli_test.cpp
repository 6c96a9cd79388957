// tenglan-cli calendar and archive, run as a separate program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive/store.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"
#include "text/script.h"

namespace tl {
namespace {

namespace fs = std::filesystem;

using test::CliResult;

// Splits "a b c" at spaces into the arguments.
CliResult RunCli(const std::string& args) {
    std::vector<std::string> argv;
    std::size_t start = 0;
    while (start < args.size()) {
        const std::size_t end = std::min(args.find(' ', start), args.size());
        argv.push_back(args.substr(start, end - start));
        start = end + 1;
    }
    return test::RunCli(argv);
}

TEST(CliCalendar, MonthGrid) {
    const CliResult r = RunCli("calendar 2008 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2008年2月"), std::string::npos);
    EXPECT_NE(r.out.find("星期日"), std::string::npos);
    EXPECT_NE(r.out.find("[4]"), std::string::npos);
    EXPECT_NE(r.out.find("[立春]"), std::string::npos);
    EXPECT_NE(r.out.find("[一月]"), std::string::npos);
    EXPECT_NE(r.out.find("廿五"), std::string::npos);
    EXPECT_NE(r.out.find("\n戊子年 鼠\n立春: 19时0分"), std::string::npos) << r.out;
    // The first row holds days 1 and 2 under Friday and Saturday.
    const std::size_t row = r.out.find('\n', r.out.find("星期六")) + 1;
    const std::string firstRow = r.out.substr(row, r.out.find('\n', row) - row);
    EXPECT_EQ(firstRow.find_first_not_of(' '), 54u);
}

TEST(CliCalendar, TheCalendarsYears) {
    const CliResult last = RunCli("calendar 2100 12");
    ASSERT_EQ(last.status, 0) << last.err;
    EXPECT_NE(last.out.find("\n庚申年 猴\n大雪: 9时40分"), std::string::npos) << last.out;
    EXPECT_NE(last.out.find("[十二月]"), std::string::npos) << last.out;
    const CliResult after = RunCli("calendar 2101 1");
    EXPECT_EQ(after.status, 2);
    EXPECT_EQ(after.err, "tenglan-cli calendar: YEAR: must be 1900..2100, got '2101'\n");
    // The first and last day of the calendar, and the last day of a month.
    for (const char* day : {"calendar 1900 1 1", "calendar 2100 12 31", "calendar 2008 2 29"})
        EXPECT_EQ(RunCli(day).status, 0) << day;
}

TEST(CliCalendar, DayDetails) {
    const CliResult r = RunCli("calendar 2008 2 4");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2008年2月4日\n戊子年 甲寅月 甲戌日 甲子起时 \n");
    // In traditional characters, the month grid keeping its columns.
    const CliResult hant = RunCli("calendar 2008 2 4 --script hant");
    ASSERT_EQ(hant.status, 0) << hant.err;
    EXPECT_EQ(hant.out, "2008年2月4日\n戊子年 甲寅月 甲戌日 甲子起時 \n");
    const CliResult month = RunCli("calendar 2008 2");
    const CliResult monthHant = RunCli("calendar 2008 2 --script hant");
    ASSERT_EQ(monthHant.status, 0) << monthHant.err;
    EXPECT_EQ(monthHant.out, ToScript(month.out, Script::kHant));
    EXPECT_NE(monthHant.out.find("\n戊子年 鼠\n立春: 19時0分"), std::string::npos) << monthHant.out;
}

TEST(CliCalendar, BadArgumentsGiveOneLineAndStatus2) {
    for (const char* args : {"calendar", "calendar 2008", "calendar 1899 1", "calendar 2101 1", "calendar 2008 13",
                             "calendar 2008 0", "calendar 2008 2 30", "calendar 2008 2 0", "calendar x 1",
                             "calendar 2008 2 4 5", "calendar -2008 2", "calendar 2008 2 4x"}) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
    }
}

TEST(CliArchive, ListsTheRecordsOfAFolder) {
    test::TempFolder folder;
    fs::create_directory(folder / "save");
    ChartRecord rec;
    rec.name = "张三";
    rec.sex = "男";
    rec.place = "1北京,北京";
    rec.birthDate = 31118;
    rec.birthTime = (9 * 60 + 5) / 1440.0;
    const double savedAt = OleDateTime({2008, 12, 11}, TimeOfDay::Hms(4, 57, 51));
    ASSERT_TRUE(SaveChart(folder.path(), rec, "x", savedAt).saved);
    ASSERT_TRUE(SaveChart(folder.path(), rec, "x", savedAt).saved);
    ASSERT_TRUE(MarkDeleted(folder.path(), 1));
    const CliResult r = RunCli("archive list " + folder.path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "    2-张三         男    1北京,北京      年辰:1985-3-12,9:05:00  记录时间:2008-12-11 4:57:51\n\n");

    const CliResult empty = RunCli("archive list " + (folder / "save").string());
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST(CliArchive, BadArguments) {
    test::TempFolder folder;
    for (std::string args : {std::string("archive"), std::string("archive show"),
                             "archive list " + (folder / "missing").string(), std::string("archive list a b")}) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args;
    }
    fs::create_directory(folder / "reco.dat");
    EXPECT_EQ(RunCli("archive list " + folder.path().string()).status, 1);
}

TEST(Cli, EveryCommandReportsAnOutputItCannotWrite) {
    test::TempFolder folder;
    fs::create_directory(folder / "save");
    ChartRecord rec;
    rec.name = "张三";
    ASSERT_TRUE(SaveChart(folder.path(), rec, "x", 40000).saved);
    // More than a flush of results, then a bad line: the run ends at the
    // first failed write, before that line is read.
    std::string births = "date,time\n";
    for (int i = 0; i < 4000; ++i) births += "1985-03-12,09:05\n";
    births += "1985-13-12,09:05\n";
    const struct {
        std::vector<std::string> args;
        std::string input;
    } cases[] = {
        {{"chart", "--date", "1985-03-12", "--time", "09:05"}, ""},
        {{"chart", "--date", "1985-03-12", "--time", "09:05", "--json"}, ""},
        {{"batch"}, "date,time\n1985-03-12,09:05\n"},
        {{"batch"}, births},
        {{"places"}, ""},
        {{"places", "1"}, ""},
        {{"calendar", "2008", "2"}, ""},
        {{"calendar", "2008", "2", "4"}, ""},
        {{"archive", "list", folder.path().string()}, ""},
        {{"--help"}, ""},
        {{"places", "--help"}, ""},
    };
    for (const auto& c : cases) {
        const CliResult r = test::RunCli(c.args, c.input, "/dev/full");
        const std::string command = c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : "");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("cannot write"), std::string::npos) << command << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << command << ": one line: " << r.err;
    }
}

}  // namespace
}  // namespace tl
