// tenglan-cli's birthplace options and the `places` command, run as a
// process: output on stdout, one-line errors on stderr with exit status 2.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace tl::test {
namespace {

// Splits a command line on single spaces; '' stands for an empty argument.
CliResult Cli(const std::string& line) {
    std::vector<std::string> args;
    std::istringstream in(line);
    for (std::string a; in >> a;) args.push_back(a == "''" ? std::string() : a);
    return RunCli(args);
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> lines;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

TEST(CliPlaces, ListsTheProvincesWithTheirNumbers) {
    const CliResult r = Cli("places");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "0\t不考虑");
    EXPECT_EQ(lines[1], "1\t1北京");
    EXPECT_EQ(lines[30], "30\t30四川");
    EXPECT_EQ(lines[34], "34\t34浙江");
}

TEST(CliPlaces, ListsAProvincesPlacesWithCorrections) {
    const CliResult beijing = Cli("places 1");
    ASSERT_EQ(beijing.status, 0) << beijing.err;
    const auto b = Lines(beijing.out);
    ASSERT_EQ(b.size(), 10u);
    EXPECT_EQ(b[0], "1\t北京\t-14.16");
    EXPECT_EQ(b[1], "2\t平谷\t-11.60");

    const CliResult sichuan = Cli("places 30");
    ASSERT_EQ(sichuan.status, 0);
    const auto s = Lines(sichuan.out);
    ASSERT_EQ(s.size(), 173u);
    EXPECT_EQ(s[0], "1\t成都\t-63.76");
    EXPECT_EQ(s[172].rfind("173\t木里\t", 0), 0u) << s[172];

    EXPECT_EQ(Lines(Cli("places 0").out), (std::vector<std::string>{"1\t不考虑\t0.00"}));
    EXPECT_EQ(Lines(Cli("places 16").out).at(35), "36\t抚远\t56.60");
    EXPECT_EQ(Lines(Cli("places 31").out).at(47), "48\t乌恰\t-179.28");
    EXPECT_EQ(Lines(Cli("places 29").out).at(96), "97\t四川\t0.00");
}

TEST(CliPlaces, RejectsBadProvinces) {
    for (const char* args : {"places 35", "places -1", "places x", "places 1x", "places ''", "places 1 2"}) {
        const CliResult r = Cli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(Lines(r.err).size(), 1u) << args << ": " << r.err;
    }
}

TEST(CliPlaces, TheWorldListAsTextAndJson) {
    const struct {
        const char* line;
        int status;
        const char* says;  // in the output, or in the message
    } cases[] = {
        {"places --countries", 0, "US\t美国\t"},
        {"places --countries --json", 0, "{\"code\":\"GB\",\"name\":\"英国\",\"cities\":"},
        {"places --country gb", 0, "伦敦\tLondon\t"},
        {"places --country US --json", 0,
         "{\"city\":\"纽约\",\"latin\":\"New York City\",\"region\":\"New York\",\"longitude\":-74.00597,"
         "\"latitude\":40.71427,\"zone\":\"America/New_York\"}"},
        {"places --country CN", 2, "unknown country 'CN'"},
        {"places --country", 2, "--country"},
        {"places 3 --countries", 2, "excludes"},
        {"places --json", 2, "--json goes with --countries or --country"},
    };
    for (const auto& c : cases) {
        const CliResult r = Cli(c.line);
        EXPECT_EQ(r.status, c.status) << c.line << r.err;
        EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.says), std::string::npos) << c.line << "\n" << r.err;
    }
    EXPECT_EQ(Cli("places --countries").out.find("CN\t"), std::string::npos);
}

TEST(CliTrueSolar, TrueSolarTimeAtAPlace) {
    const CliResult r = Cli("chart --date 1984-02-10 --time 08:05 --true-solar --province 1 --place 1 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"birthTime\":\"07:36:35\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"provinceItem\":\"1北京\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"placeItem\":\"北京\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"trueSolarTime\":true"), std::string::npos) << r.out;

    // The place alone changes nothing without --true-solar.
    const CliResult plain = Cli("chart --date 1984-02-10 --time 08:05 --province 1 --place 1 --json");
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("\"birthTime\":\"08:05:00\""), std::string::npos) << plain.out;

    // 抚远, 3 November 23:50: the next day at 01:03:01.
    const CliResult east = Cli("chart --date 1990-11-03 --time 23:50 --true-solar --province 16 --place 36 --json");
    ASSERT_EQ(east.status, 0) << east.err;
    EXPECT_NE(east.out.find("\"birthDate\":\"1990-11-04\""), std::string::npos) << east.out;
    EXPECT_NE(east.out.find("\"birthTime\":\"01:03:01\""), std::string::npos) << east.out;

    // Without a province only the equation of time applies.
    const CliResult none = Cli("chart --date 1990-11-03 --time 10:30 --true-solar --json");
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(none.out.find("\"birthTime\":\"10:46:25\""), std::string::npos) << none.out;
    EXPECT_NE(none.out.find("\"provinceItem\":\"不考虑\""), std::string::npos) << none.out;
}

TEST(CliTrueSolar, RejectsPlacesOutsideTheLists) {
    struct Bad {
        const char* args;
        const char* option;
    };
    const Bad bad[] = {
        {"--province 35", "--province"},         {"--province -1", "--province"},
        {"--province x", "--province"},          {"--province", "--province"},
        {"--province 16 --place 81", "--place"}, {"--place 81 --province 16", "--place"},
        {"--province 1 --place 0", "--place"},   {"--place 2", "--place"},
        {"--province 30 --place 174", "--place"}, {"--province 2 --place 1.0", "--place"},
        {"--province 0x1", "--province"},         {"--province +1", "--province"},
    };
    for (const auto& b : bad) {
        const CliResult r = Cli(std::string("chart --date 1990-11-03 --time 10:30 --true-solar --json ") + b.args);
        EXPECT_EQ(r.status, 2) << b.args;
        EXPECT_EQ(r.out, "") << b.args;
        EXPECT_EQ(Lines(r.err).size(), 1u) << b.args << ": " << r.err;
        EXPECT_NE(r.err.find(b.option), std::string::npos) << b.args << ": " << r.err;
    }
    // The last place of the longest list is accepted.
    EXPECT_EQ(Cli("chart --date 1990-11-03 --time 10:30 --true-solar --province 30 --place 173 --json").status, 0);
}

}  // namespace
}  // namespace tl::test
