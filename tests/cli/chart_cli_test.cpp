#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/cli_runner.h"

namespace tl::test {
namespace {

TEST(CliChart, JsonOfABirth) {
    const CliResult r = RunCli({"chart", "--date", "1984-02-04", "--time", "23:19", "--json", "--name", "张三"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"name\":\"张三\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"year\":{\"index\":1,\"name\":\"甲子\"}"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"day\":{\"index\":6,\"name\":\"己巳\"}"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"lunar\":{\"year\":1984,\"month\":1,\"day\":4,\"leap\":false}"), std::string::npos);
    EXPECT_NE(r.out.find("\"firstPillar\":{\"index\":4,\"name\":\"丁卯\"}"), std::string::npos);
    // Born in the minute of 立春 itself.
    EXPECT_NE(r.out.find("\"nearJie\":{\"term\":\"立春\",\"minutes\":0}"), std::string::npos) << r.out;
}

TEST(CliChart, LunarLeapInput) {
    const CliResult r = RunCli({"chart", "--date", "2020-04-01", "--time", "10:30", "--lunar", "--leap", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"birthDate\":\"2020-05-23\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"leap\":true"), std::string::npos) << r.out;
    // The last lunar day of 2100 is 28 January 2101.
    const CliResult last = RunCli({"chart", "--date", "2100-12-29", "--time", "10:30", "--lunar", "--json"});
    ASSERT_EQ(last.status, 0) << last.err;
    EXPECT_NE(last.out.find("\"birthDate\":\"2101-01-28\""), std::string::npos) << last.out;
}

TEST(CliChart, ImpossibleDatesRefusedByChartAndBatch) {
    // Each date as `chart` options and as a `batch` line; an empty message
    // is a date that exists and is charted.
    const struct {
        const char* date;
        bool lunar, leap;
        const char* message;
    } cases[] = {
        {"1990-02-30", false, false, "date 1990-02-30 does not exist: month 2 of 1990 has 28 days"},
        {"1900-02-29", false, false, "date 1900-02-29 does not exist: month 2 of 1900 has 28 days"},
        {"2024-04-31", false, false, "date 2024-04-31 does not exist: month 4 of 2024 has 30 days"},
        {"2000-02-29", false, false, ""},
        {"2024-05-01", true, true, "lunar date 2024-05-01 (leap month) does not exist: lunar 2024 has no leap month"},
        {"2023-05-01", true, true,
         "lunar date 2023-05-01 (leap month) does not exist: the leap month of lunar 2023 is month 2"},
        {"2024-03-30", true, false, "lunar date 2024-03-30 does not exist: lunar month 3 of 2024 has 29 days"},
        {"2023-02-30", true, true,
         "lunar date 2023-02-30 (leap month) does not exist: lunar leap month 2 of 2023 has 29 days"},
        {"2024-03-31", true, false, "lunar date 2024-03-31 does not exist: lunar month 3 of 2024 has 29 days"},
        {"2023-02-29", true, true, ""},
        {"2024-02-30", true, false, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"chart", "--date", c.date, "--time", "10:30", "--json"};
        if (c.lunar) args.push_back("--lunar");
        if (c.leap) args.push_back("--leap");
        const CliResult chart = RunCli(args);
        const std::string message = c.message;
        if (message.empty()) {
            EXPECT_EQ(chart.status, 0) << c.date << ": " << chart.err;
        } else {
            EXPECT_EQ(chart.status, 2) << c.date;
            EXPECT_EQ(chart.err, "tenglan-cli chart: " + message + "\n");
            EXPECT_EQ(chart.out, "") << c.date;
        }
        // In a batch the birth is an error line of its own; the next one runs.
        const std::string input = std::string("date,time,calendar,leap\n") + c.date + ",10:30," +
                                  (c.lunar ? "lunar," : "gregorian,") + (c.leap ? "1" : "0") +
                                  "\n2000-01-01,10:30,gregorian,0\n";
        const CliResult batch = RunCli({"batch"}, input);
        EXPECT_EQ(batch.status, message.empty() ? 0 : 1) << c.date;
        EXPECT_EQ(batch.err, message.empty() ? "" : "tenglan-cli batch: line 2: " + message + "\n");
        EXPECT_EQ(batch.out.rfind("{\"line\":", 0), 0u) << c.date;
        EXPECT_NE(batch.out.find("{\"line\":3,"), std::string::npos) << c.date;
    }
}

TEST(CliChart, ZiDayChange) {
    // 1988-02-15 23:30: the day pillar 辛丑 by default, 庚子 when the day
    // changes at midnight; the hour pillar 戊子 either way.
    const struct {
        std::vector<std::string> extra;
        const char* zi;
        const char* day;
    } cases[] = {{{}, "\"ziDayChange\":23", "辛丑"},
                 {{"--zi-day-change", "23"}, "\"ziDayChange\":23", "辛丑"},
                 {{"--zi-day-change", "0"}, "\"ziDayChange\":0", "庚子"}};
    for (const auto& c : cases) {
        std::vector<std::string> args{"chart", "--date", "1988-02-15", "--time", "23:30", "--json"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(c.zi), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(std::string("\"day\":{\"index\":") + (c.day == std::string("辛丑") ? "38" : "37") +
                             ",\"name\":\"" + c.day + "\"}"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("\"hour\":{\"index\":25,\"name\":\"戊子\"}"), std::string::npos) << r.out;
    }
}

TEST(CliChart, DaylightSavingAppliedUnlessTurnedOff) {
    const struct {
        std::vector<std::string> args;
        const char* time;
        const char* dst;
    } cases[] = {
        {{"--date", "1988-01-10", "--time", "15:30"}, "15:30:00", "{\"inEffect\":false,\"applied\":false,\"minutes\":0}"},
        {{"--date", "1988-07-10", "--time", "15:30"}, "14:30:00", "{\"inEffect\":true,\"applied\":true,\"minutes\":60}"},
        {{"--date", "1988-07-10", "--time", "15:30", "--no-dst"}, "15:30:00",
         "{\"inEffect\":true,\"applied\":false,\"minutes\":60}"},
        {{"--date", "1985-07-10", "--time", "15:30"}, "15:30:00", "{\"inEffect\":false,\"applied\":false,\"minutes\":0}"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"chart", "--json"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("\"birthTime\":\"") + c.time + "\""), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(std::string("\"daylightSaving\":") + c.dst), std::string::npos) << r.out;
    }
}

TEST(CliChart, AnUnusableTimeZoneDatabaseIsSaidNotHidden) {
    // TZDIR names a database whose Asia/Shanghai is corrupt, a named pipe
    // or missing: chart and batch still run (no abort, no hang), take the
    // clock time as standard time (hour pillar 乙未 instead of 甲午 on
    // 1988-06-15 at 13:30), say so once on stderr and give null for the
    // daylight saving time in JSON.
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("tl_tzdir_" + std::to_string(::getpid()));
    for (const char* kind : {"corrupt", "pipe", "missing"}) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "Asia");
        const std::filesystem::path zone = root / "Asia" / "Shanghai";
        if (std::string(kind) == "corrupt") {
            std::ofstream(zone, std::ios::binary) << "TZif2 but nothing else";
        } else if (std::string(kind) == "pipe") {
            ASSERT_EQ(::mkfifo(zone.c_str(), 0600), 0);
        }
        ::setenv("TZDIR", root.c_str(), 1);
        const CliResult chart = RunCli({"chart", "--json", "--date", "1988-06-15", "--time", "13:30"});
        const CliResult batch = RunCli({"batch"}, "date,time\n1988-06-15,13:30\n1988-06-16,13:30\n");
        ::unsetenv("TZDIR");
        EXPECT_EQ(chart.status, 0) << kind;
        EXPECT_NE(chart.out.find("\"daylightSaving\":null"), std::string::npos) << kind;
        EXPECT_NE(chart.out.find("\"hour\":{\"index\":32,\"name\":\"乙未\"}"), std::string::npos) << kind;
        EXPECT_EQ(chart.err.rfind("tenglan-cli chart: daylight saving time unknown", 0), 0u) << chart.err;
        EXPECT_NE(chart.err.find(zone.string()), std::string::npos) << chart.err;
        EXPECT_EQ(batch.status, 0) << kind;
        EXPECT_EQ(std::count(batch.out.begin(), batch.out.end(), '\n'), 2) << kind;
        EXPECT_EQ(std::count(batch.err.begin(), batch.err.end(), '\n'), 1) << batch.err;
    }
    std::filesystem::remove_all(root);
    // With the system's database the same birth is in daylight saving time.
    const CliResult r = RunCli({"chart", "--json", "--date", "1988-06-15", "--time", "13:30"});
    EXPECT_NE(r.out.find("\"hour\":{\"index\":31,\"name\":\"甲午\"}"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
}

TEST(CliChart, ValuesTheWindowCannotOfferAreRefused) {
    struct Bad {
        std::vector<std::string> args;
        const char* says;  // the option the message names, or the message's whole end
    };
    const Bad cases[] = {
        {{"--date", "1899-12-31", "--time", "10:00", "--json"}, "--date: year must be 1900..2100, got '1899'\n"},
        {{"--date", "2101-01-01", "--time", "10:00", "--json"}, "--date: year must be 1900..2100, got '2101'\n"},
        {{"--date", "2101-01-01", "--time", "10:00", "--lunar"}, "--date: year must be 1900..2100, got '2101'\n"},
        {{"--date", "1984-13-01", "--time", "10:00", "--json"}, "--date: month must be 1..12, got '13'\n"},
        {{"--date", "1984-02-32", "--time", "10:00", "--json"}, "--date: day must be 1..31, got '32'\n"},
        {{"--date", "1984-02-00", "--time", "10:00", "--json"}, "--date"},
        {{"--date", "1984-00-04", "--time", "10:00", "--json"}, "--date: month must be 1..12, got '00'\n"},
        {{"--date", "+1984-02-04", "--time", "10:00", "--json"}, "--date: year must be 1900..2100, got '+1984'\n"},
        {{"--date", "1984-02-04", "--time", "10:+5", "--json"}, "--time: minute must be 0..59, got '+5'\n"},
        {{"--date", "1984-2", "--time", "10:00", "--json"}, "--date: must be YYYY-MM-DD, got '1984-2'\n"},
        {{"--date", "abcd-02-01", "--time", "10:00", "--json"}, "--date"},
        {{"--date", "1984-02-04", "--time", "24:00", "--json"}, "--time: hour must be 0..23, got '24'\n"},
        {{"--date", "1984-02-04", "--time", "12:60", "--json"}, "--time: minute must be 0..59, got '60'\n"},
        {{"--date", "1984-02-04", "--time", "-1:00", "--json"}, "--time"},
        {{"--date", "1984-02-04", "--time", "99999999999:00", "--json"}, "--time"},
        {{"--date", "1984-02-04", "--json"}, "--time"},
        {{"--time", "10:00", "--json"}, "--date"},
        {{"--date", "1984-02-04", "--time", "10:00", "--leap", "--json"}, "--leap"},
        {{"--date", "1984-02-04", "--time", "10:00", "--bogus"}, "--bogus"},
        {{"--date"}, "--date"},
        {{"--date", "1984-02-04", "--time", "10:00", "--zi-day-change", "24"},
         "--zi-day-change: must be 23 or 0, got '24'\n"},
        {{"--date", "1984-02-04", "--time", "10:00", "--zi-day-change"}, "--zi-day-change: 1 required 23|0 missing\n"},
        // A birth abroad: a zone of the database, a longitude −180..180.
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "Mars/Olympus", "--longitude", "-74"},
         "unknown zone 'Mars/Olympus' for --zone"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "America/New_York", "--longitude", "-180.5"},
         "--longitude must be -180..180 degrees (east positive), got '-180.5'\n"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "America/New_York", "--longitude", "1e2"},
         "--longitude must be"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "America/New_York", "--longitude", "+74"},
         "--longitude must be"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "America/New_York"}, "--zone and --longitude go together"},
        {{"--date", "1990-07-01", "--time", "08:00", "--longitude", "10"}, "--zone and --longitude go together"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "Europe/London", "--longitude", "0", "--latitude", "91"},
         "--latitude must be -90..90"},
        {{"--date", "1990-07-01", "--time", "08:00", "--zone", "Europe/London", "--longitude", "0", "--province", "2"},
         "--province and --place are for births in China"},
        {{"--date", "1990-07-01", "--time", "08:00", "--country", "XX", "--city", "Paris"}, "unknown country 'XX'"},
        {{"--date", "1990-07-01", "--time", "08:00", "--country", "FR", "--city", "Atlantis"},
         "no city 'Atlantis' in FR for --city"},
        {{"--date", "1990-07-01", "--time", "08:00", "--country", "US", "--city", "Springfield"},
         "'Springfield' fits 3 cities of US, give --region:"},
        {{"--date", "1990-07-01", "--time", "08:00", "--country", "US"}, "--country and --city go together"},
        {{"--date", "1990-07-01", "--time", "08:00", "--country", "US", "--city", "纽约", "--zone", "UTC"},
         "give either --country and --city or --zone and --longitude"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"chart"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
}

TEST(CliChart, BirthAbroadByZoneAndLongitude) {
    // New York, 1 July 1990, 08:00 daylight saving time: 12:00 UTC, 20:00 in
    // Beijing; the day and hour pillars of New York's own time.
    const CliResult r = RunCli({"chart", "--date", "1990-07-01", "--time", "08:00", "--zone", "America/New_York",
                                "--longitude", "-74.006", "--latitude", "40.7128", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* member :
         {"\"beijingTime\":\"1990-07-01T20:00:00\"", "\"birthTime\":\"07:00:00\"",
          "\"clock\":{\"zone\":\"America/New_York\",\"utcOffsetSeconds\":-14400,\"standardOffsetSeconds\":-18000,"
          "\"localMeanTime\":false}",
          "\"zone\":\"America/New_York\",\"longitude\":-74.006,\"latitude\":40.7128",
          "\"hour\":{\"index\":41,\"name\":\"甲辰\"}",
          "当地时钟: 1990年7月1日8:00 America/New_York UTC-4:00(夏令时),北京时间1990年7月1日20:00:00\\r\\n"})
        EXPECT_NE(r.out.find(member), std::string::npos) << member << "\n" << r.out;
}

TEST(CliChart, AProvinceReadsItsOwnZonesClock) {
    // Hong Kong kept summer time in 1975: 13:30 on its clocks was 12:30 in
    // Beijing, 午时 both in the pillar and after the lunar date.
    const CliResult r = RunCli({"chart", "--date", "1975-07-01", "--time", "13:30", "--province", "2", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* member :
         {"\"beijingTime\":\"1975-07-01T12:30:00\"",
          "\"clock\":{\"zone\":\"Asia/Hong_Kong\",\"utcOffsetSeconds\":32400,\"standardOffsetSeconds\":28800,"
          "\"localMeanTime\":false}",
          "\"country\":\"CN\",\"region\":\"香港\",\"city\":\"香港\",\"zone\":\"Asia/Hong_Kong\",\"longitude\":113.33,"
          "\"latitude\":null",
          "公历:1975年7月1日12:30:00时(已减夏令时1小时)        农历:一九七五年五月廿二日午时\\r\\n"})
        EXPECT_NE(r.out.find(member), std::string::npos) << member << "\n" << r.out;
}

TEST(CliChart, BirthAbroadByCountryAndCity) {
    // London in double summer time, 1943: the clock two hours ahead of
    // Greenwich, 18:00 in Beijing; the place line names country and city.
    const CliResult r = RunCli({"chart", "--date", "1943-06-01", "--time", "12:00", "--country", "GB", "--city",
                                "London", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* member : {"\"beijingTime\":\"1943-06-01T18:00:00\"", "\"birthTime\":\"10:00:00\"",
                               "\"country\":\"GB\",\"countryName\":\"英国\"", "\"city\":\"伦敦\"",
                               "出生地点: 英国,伦敦\\r\\n", "(已减夏令时2小时)",
                               "Europe/London UTC+2:00(夏令时),北京时间1943年6月1日18:00:00"})
        EXPECT_NE(r.out.find(member), std::string::npos) << member << "\n" << r.out;
}

TEST(Cli, UnknownCommandAndNoCommand) {
    EXPECT_EQ(RunCli({"frobnicate"}).status, 2);
    EXPECT_EQ(RunCli({}).status, 2);
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage"), std::string::npos);
    // Each command has its own help.
    for (std::string command : {"chart", "batch", "places", "calendar", "archive list"}) {
        std::vector<std::string> args{command};
        if (command == "archive list") args = {"archive", "list"};
        args.push_back("--help");
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0) << command << ": " << r.err;
        EXPECT_NE(r.out.find("Usage: tenglan-cli " + command + " [OPTIONS]"), std::string::npos) << r.out;
    }
}

}  // namespace
}  // namespace tl::test
