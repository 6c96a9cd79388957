#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "text/gbk.h"
#include "text/script.h"
#include "support/cli_runner.h"

namespace tl::test {
namespace {

std::string Golden(const std::string& name) {
    std::ifstream in(std::string(TENGLAN_TEST_DATA_DIR) + "/golden/" + name + ".txt", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> OutputLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

TEST(CliReport, PrintsTheReportExactlyAsTheBoxHoldsIt) {
    const CliResult r = RunCli({"chart", "--date", "1985-03-12", "--time", "09:05", "--name", "张三"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Golden("male_gregorian_1985"));
    EXPECT_TRUE(r.err.empty());
}

TEST(CliReport, GbkBytesAsASavedFileHoldsThem) {
    const CliResult r =
        RunCli({"chart", "--date", "1984-10-15", "--time", "08:30", "--female", "--lunar", "--leap", "--name", "李四",
                "--gbk"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string golden = Golden("female_leap_lunar_1984");
    EXPECT_EQ(r.out, Utf8ToGbk(golden));
    EXPECT_EQ(GbkToUtf8(r.out), golden);
    EXPECT_EQ(r.out.find('?'), std::string::npos);  // every character has a GBK code
}

TEST(CliReport, BirthplaceAndTrueSolarTime) {
    const CliResult r = RunCli({"chart", "--date", "1985-03-12", "--time", "09:05", "--true-solar", "--province", "1",
                                "--place", "1", "--name", "周九"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Golden("true_solar_beijing"));
}

TEST(CliReport, JsonCarriesTheReportAndItsRedPassages) {
    const CliResult r = RunCli({"chart", "--date", "1985-03-12", "--time", "09:05", "--name", "张三", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The text is escaped with its CR LF line ends.
    EXPECT_NE(r.out.find("\"report\":\"" + std::string(40, ' ') + "腾岚八字排盘\\r\\n  姓名:张三\\r\\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"red\":[{\"start\":221,\"length\":96}"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"start\":38,\"length\":10}]"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST(CliReport, FormatsAndScripts) {
    // Each format and script against what it must equal; --json and --gbk
    // stay what --format json and gbk are.
    const std::vector<std::string> birth{"chart", "--date", "1985-03-12", "--time", "09:05", "--name", "张三"};
    const std::string golden = Golden("male_gregorian_1985");
    const std::string hant = ToScript(golden, Script::kHant);
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = birth;
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    };
    const CliResult json = run({"--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const struct {
        std::vector<std::string> extra;
        std::string out;        // the whole output, when known
        const char* holds;      // else a piece of it
    } cases[] = {
        {{"--format", "text"}, golden, nullptr},
        {{"--format", "gbk"}, Utf8ToGbk(golden), nullptr},
        {{"--format", "json"}, json.out, nullptr},
        {{"--json", "--format", "json"}, json.out, nullptr},
        {{"--script", "hans"}, golden, nullptr},
        {{"--script", "hant"}, hant, nullptr},
        {{"--script", "hant", "--gbk"}, Utf8ToGbk(hant), nullptr},
        {{"--script", "hant", "--json"}, ToScript(json.out, Script::kHant), nullptr},
        {{"--format", "html"}, "", "<pre>                                      <span class=\"red\">  腾岚八字排盘\n</span>"},
        {{"--format", "html", "--script", "hant"}, "", "<span class=\"red\">  騰嵐八字排盤\n</span>  姓名:張三\n"},
        {{"--format", "md"}, "", "| 干支 | 乙丑 | 己卯 | 庚戌 | 辛巳 |\n"},
        {{"--format", "md", "--script", "hant"}, "", "\n- 性別:男(乾造)\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = run(c.extra);
        ASSERT_EQ(r.status, 0) << c.extra[0] << " " << c.extra[1] << ": " << r.err;
        if (c.holds == nullptr) {
            EXPECT_EQ(r.out, c.out) << c.extra[0] << " " << c.extra[1];
        } else {
            EXPECT_NE(r.out.find(c.holds), std::string::npos) << c.extra[0] << " " << c.extra[1] << "\n" << r.out;
        }
    }
    EXPECT_NE(hant, golden);

    const struct {
        std::vector<std::string> extra;
        const char* says;
    } bad[] = {
        {{"--json", "--format", "md"}, "tenglan-cli chart: --format contradicts --json\n"},
        {{"--gbk", "--format", "html"}, "tenglan-cli chart: --format contradicts --gbk\n"},
        {{"--format", "pdf"}, "tenglan-cli chart: --format: must be text, json, gbk, html or md, got 'pdf'\n"},
        {{"--script", "Hant"}, "tenglan-cli chart: --script: must be hans or hant, got 'Hant'\n"},
    };
    for (const auto& b : bad) {
        const CliResult r = run(b.extra);
        EXPECT_EQ(r.status, 2) << b.says;
        EXPECT_EQ(r.err, b.says);
        EXPECT_TRUE(r.out.empty()) << b.says;
    }
}

TEST(CliReport, NameThatIsNotUtf8IsRefused) {
    const CliResult r = RunCli({"chart", "--date", "1985-03-12", "--time", "09:05", "--name", "\xC3\x28"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("UTF-8"), std::string::npos) << r.err;
}

TEST(CliBatch, OneJsonLinePerBirthAndBadLinesNamed) {
    const std::string input =
        "name,sex,calendar,date,time,leap,province,place\r\n"
        "张三,male,gregorian,1985-03-12,09:05,0,0,1\r\n"
        "\"Li, Si\",female,lunar,1984-10-15,08:30,1,,\r\n"
        "bad sex,x,gregorian,1985-03-12,09:05,0,0,1\r\n"
        "\r\n"
        "bad date,m,g,1985-13-12,09:05,0,0,1\r\n"
        "周九,男,公历,1985-03-12,09:05,0,1,1\r\n"
        "bad place,m,g,1985-03-12,09:05,0,1,999\r\n"
        "too,few\r\n"
        "leap solar,m,g,1985-03-12,09:05,1,0,1\r\n"
        "\"quote\"d,m,g,1985-03-12,09:05,0,0,1\r\n"
        "last,f,g,2020-12-31,23:59,0,0,1";
    const CliResult r = RunCli({"batch"}, input);
    EXPECT_EQ(r.status, 1) << "a line failed";
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0].rfind("{\"line\":2,\"name\":\"张三\",", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("\"day\":{\"index\":47,\"name\":\"庚戌\"}"), std::string::npos);
    EXPECT_EQ(lines[1].rfind("{\"line\":3,\"name\":\"Li, Si\",", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("\"leap\":true"), std::string::npos);
    EXPECT_EQ(lines[2].rfind("{\"line\":7,", 0), 0u) << lines[2];
    // Province 1 without a truesolar column: the correction is applied.
    EXPECT_NE(lines[2].find("\"birthTime\":\"08:41:11\""), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].rfind("{\"line\":12,", 0), 0u) << lines[3];
    for (const auto& l : lines) EXPECT_EQ(l.find("\"report\""), std::string::npos);
    // Each bad line is named on stderr by its number.
    for (const char* expected : {"line 4: sex", "line 6: date", "line 8: no place 999 in province 1",
                                 "line 9: expected 8 fields, found 2", "line 10: leap", "line 11: malformed"})
        EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\n" << r.err;
    EXPECT_EQ(OutputLines(r.err).size(), 6u) << r.err;
}

TEST(CliBatch, ZiColumn) {
    const CliResult r = RunCli({"batch"}, "date,time,zi\n"
                                          "2024-03-15,23:30,\n"
                                          "2024-03-15,23:30,23\n"
                                          "2024-03-15,23:30,0\n"
                                          "2024-03-15,23:30,1\n");
    EXPECT_EQ(r.status, 1);
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    const char* const days[] = {"{\"index\":16,\"name\":\"己卯\"}", "{\"index\":16,\"name\":\"己卯\"}",
                                "{\"index\":15,\"name\":\"戊寅\"}"};
    const char* const zis[] = {"\"ziDayChange\":23", "\"ziDayChange\":23", "\"ziDayChange\":0"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(lines[i].find(std::string("\"day\":") + days[i]), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find(zis[i]), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find("\"nearJie\":null"), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find("\"hour\":{\"index\":1,\"name\":\"甲子\"}"), std::string::npos) << lines[i];
    }
    EXPECT_EQ(r.err, "tenglan-cli batch: line 5: zi must be 23 or 0, got '1'\n");
}

TEST(CliBatch, DstColumn) {
    const CliResult r = RunCli({"batch"}, "date,time,dst\n1988-07-10,15:30,\n1988-07-10,15:30,1\n"
                                          "1988-07-10,15:30,0\n1988-07-10,15:30,2\n");
    EXPECT_EQ(r.status, 1);
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    for (std::size_t i = 0; i < 3; ++i) {
        const bool applied = i < 2;
        EXPECT_NE(lines[i].find(applied ? "\"birthTime\":\"14:30:00\"" : "\"birthTime\":\"15:30:00\""),
                  std::string::npos)
            << lines[i];
        EXPECT_NE(lines[i].find(std::string("\"daylightSaving\":{\"inEffect\":true,\"applied\":") +
                                (applied ? "true" : "false") + ",\"minutes\":60}"),
                  std::string::npos)
            << lines[i];
    }
    EXPECT_EQ(r.err, "tenglan-cli batch: line 5: dst must be 0 or 1, got '2'\n");
}

TEST(CliBatch, RangesOfTheInputWindow) {
    // Each line is accepted (no message) or refused with its message.
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"1900-01-01,00:00,,", ""},
        {"2026-12-09,08:00,,", ""},
        {"2100-12-31,23:59,,", ""},
        {"1899-12-31,12:00,,", "date must be YYYY-MM-DD with year 1900..2100, got '1899-12-31'"},
        {"2101-01-01,12:00,,", "date must be YYYY-MM-DD with year 1900..2100, got '2101-01-01'"},
        {"1985-03-12-01,12:00,,", "date must be YYYY-MM-DD with year 1900..2100, got '1985-03-12-01'"},
        {"1985-03-12,24:00,,", "time must be HH:MM (00:00..23:59), got '24:00'"},
        {"1985-03-12,09:05,34,", ""},
        {"1985-03-12,09:05,35,", "province must be 0..34, got '35'"},
        {"1985-03-12,09:05,30,173", ""},
        {"1985-03-12,09:05,30,174", "no place 174 in province 30"},
        {"1985-03-12,09:05,1,999", "no place 999 in province 1"},
        {"1985-03-12,09:05,1,1000", "place must be a list position from 1, got '1000'"},
        {"1985-03-12,09:05,1,0", "place must be a list position from 1, got '0'"},
    };
    std::string input = "date,time,province,place\n";
    for (const auto& c : cases) input += std::string(c.line) + "\n";
    const CliResult r = RunCli({"batch"}, input);
    EXPECT_EQ(r.status, 1);
    const auto out = OutputLines(r.out);
    const auto err = OutputLines(r.err);
    std::size_t o = 0, e = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string lineNo = std::to_string(i + 2);
        if (*cases[i].message == '\0') {
            ASSERT_LT(o, out.size()) << cases[i].line;
            EXPECT_EQ(out[o++].rfind("{\"line\":" + lineNo + ",", 0), 0u) << cases[i].line;
        } else {
            ASSERT_LT(e, err.size()) << cases[i].line;
            EXPECT_EQ(err[e++], "tenglan-cli batch: line " + lineNo + ": " + cases[i].message);
        }
    }
    EXPECT_EQ(o, out.size()) << r.out;
    EXPECT_EQ(e, err.size()) << r.err;
}

TEST(CliBatch, ReportWithEachBirth) {
    const CliResult r = RunCli({"batch", "--report"},
                               "date,time,name,sex\n1985-03-12,09:05,张三,m\n1953-06-06,08:48,孙八,f\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\"report\":\"" + std::string(40, ' ') + "腾岚八字排盘\\r\\n  姓名:张三\\r\\n"),
              std::string::npos);
    EXPECT_NE(lines[1].find("101岁"), std::string::npos);
    EXPECT_NE(lines[1].find("\"red\":[{"), std::string::npos);
}

TEST(CliBatch, NamesAreEscapedInJson) {
    const CliResult r = RunCli({"batch"}, "name,date,time\n\"say \"\"hi\"\" \\ \t,\",1985-03-12,09:05\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"line\":2,\"name\":\"say \\\"hi\\\" \\\\ \\t,\",", 0), 0u) << r.out;
    // Every control byte, alone (checked byte by byte) and inside a long name
    // (checked eight bytes at a time), comes out escaped and reads back.
    std::string input = "name,date,time\n";
    std::vector<std::string> names;
    for (int b = 0; b < 0x20; ++b) {
        names.push_back(std::string(1, static_cast<char>(b)));
        names.push_back("abc" + std::string(1, static_cast<char>(b)) + "efghijklmnop");
    }
    for (const auto& n : names) input += "\"" + n + "\",1985-03-12,09:05\n";
    const CliResult all = RunCli({"batch"}, input);
    ASSERT_EQ(all.status, 0) << all.err;
    const auto lines = OutputLines(all.out);
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_TRUE(std::none_of(lines[i].begin(), lines[i].end(), [](char c) { return c >= 0 && c < 0x20; }))
            << "control byte " << int(names[i][i % 2 == 0 ? 0 : 3]) << " unescaped";
        EXPECT_EQ(nlohmann::json::parse(lines[i]).at("name"), names[i]) << i;
    }
}

TEST(CliBatch, HeaderProblemsStopTheRun) {
    const struct {
        const char* input;
        const char* message;
    } cases[] = {
        {"", "no header line"},
        {"name,date\n1985-03-12,09:05\n", "date and time"},
        {"date,time,colour\n", "unknown column 'colour'"},
        {"date,time,date\n", "twice"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli({"batch"}, c.input);
        EXPECT_EQ(r.status, 2) << c.input;
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(RunCli({"batch", "--bogus"}, "date,time\n").status, 2);
    // A header alone is a batch of nothing.
    const CliResult empty = RunCli({"batch"}, "\xEF\xBB\xBF" "date,time\n");
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_TRUE(empty.out.empty());
}

TEST(CliBatch, ReadsCsvAsRfc4180) {
    // Each output line up to its name, and stderr without the prefix.
    const std::string columns =
        "' in the header (columns: name, sex, calendar, date, time, leap, province, place, truesolar, zi, dst, "
        "country, city, region, zone, longitude, latitude)";
    const struct {
        const char* input;
        const char* names;
        std::string err;
        int status;
    } cases[] = {
        // Quoted line breaks, quotes and commas; a line number counts the breaks.
        {"name,date,time\n\"a\nb \"\"c\"\", d\",1985-03-12,09:05\n\"e\",1985-03-12,09:05\n",
         "2 \"a\\nb \\\"c\\\", d\"\n4 \"e\"\n", "", 0},
        {"\xEF\xBB\xBF\"name\",date,time\r\nf,1985-03-12,09:05\r\n\r\n\"g\r\n\",1985-03-12,09:05\r\n",
         "2 \"f\"\n4 \"g\\r\\n\"\n", "", 0},
        // A line of blanks is a blank line, like an empty one.
        {"name,date,time\n \t \nh,1985-03-12,09:05\n", "3 \"h\"\n", "", 0},
        {"date,time\r1985-03-12,09:05\r", "", "line 1: a CR alone ends a line: lines must end in LF or CR LF", 2},
        {"name,date,time\na,1985-03-12,09:05\rb,1985-03-12,09:05\nc,1985-03-12,09:05\n", "3 \"c\"\n",
         "line 2: a CR alone ends a line: lines must end in LF or CR LF", 1},
        {"name,date,time\na\"b,1985-03-12,09:05\nc,1985-03-12,09:05\n", "3 \"c\"\n", "line 2: malformed quotes", 1},
        {"name,date,time\n\"open,1985-03-12,09:05\nc,1985-03-12,09:05\n", "",
         "line 2: malformed quotes: a quoted field is not closed", 1},
        // Control characters and bytes that are not UTF-8 reach the terminal escaped.
        {"name,sex,date,time\na,\"\x1B[2J\n\xC2\x9B\",1985-03-12,09:05\n", "",
         "line 2: sex must be male or female, got '\\x1B[2J\\n\\u009B'", 1},
        {"date,time,\xFF\x07\n", "", "line 1: unknown column '\\xFF\\x07" + columns, 2},
        // The first and last lead byte of each length: U+07FF, U+0800, U+FFFF,
        // U+10000 and U+10FFFF are printed; a continuation byte alone is not.
        {"date,time,\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\n", "",
         "line 1: unknown column '\\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF" + columns, 2},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli({"batch"}, c.input);
        std::string names;
        for (const auto& l : OutputLines(r.out)) {
            const std::size_t name = l.find(",\"name\":"), sex = l.find(",\"sex\"");
            ASSERT_EQ(l.rfind("{\"line\":", 0), 0u) << l;
            names += l.substr(8, name - 8) + " " + l.substr(name + 8, sex - name - 8) + "\n";
        }
        EXPECT_EQ(names, c.names) << c.input;
        EXPECT_EQ(r.err, c.err.empty() ? "" : "tenglan-cli batch: " + c.err + "\n") << c.input;
        EXPECT_EQ(r.status, c.status) << c.input;
    }
}

TEST(CliBatch, BadBytesAndOverlongLinesAreSkipped) {
    std::string input = "name,date,time\n";
    input += "\xC3\x28,1985-03-12,09:05\n";                          // not UTF-8
    input += std::string(70 * 1024, 'x') + ",1985-03-12,09:05\n";   // far too long
    input += std::string(65536 - 17, 'y') + ",1985-03-12,09:05\n";  // 64 KiB: just long enough
    input += std::string(65536 - 16, 'z') + ",1985-03-12,09:05\n";  // a byte too long
    input += "ok,1985-03-12,09:05\n";
    const CliResult r = RunCli({"batch"}, input);
    EXPECT_EQ(r.status, 1);
    const auto lines = OutputLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.err;
    EXPECT_EQ(lines[0].rfind("{\"line\":4,\"name\":\"yyy", 0), 0u);
    EXPECT_EQ(lines[1].rfind("{\"line\":6,\"name\":\"ok\"", 0), 0u);
    EXPECT_EQ(r.err, "tenglan-cli batch: line 2: not valid UTF-8\n"
                     "tenglan-cli batch: line 3: line longer than 65536 bytes\n"
                     "tenglan-cli batch: line 5: line longer than 65536 bytes\n");
}

TEST(CliBatch, AnOverlongQuotedFieldIsSkippedToTheEndOfItsRecord) {
    // Lines inside the quotes of an overlong field look like births; they
    // are part of the field and are skipped with it, whether the quotes
    // close on the field's own line or lines later, with doubled quotes
    // in between.
    const std::string lines = "\ninside,1990-01-01,12:00\nalso \"\"inside\"\",1990-01-02,12:00\n";
    const std::string longText(70 * 1024, 'x');
    for (const bool linesBefore : {false, true}) {
        std::string field = "\"";
        if (linesBefore) field += lines;
        field += longText;
        field += lines;
        field += '"';
        const std::string input = "name,date,time\n" + field + ",1985-03-12,09:05\nok,1985-03-12,09:05\n";
        const CliResult r = RunCli({"batch"}, input);
        EXPECT_EQ(r.status, 1);
        const auto out = OutputLines(r.out);
        ASSERT_EQ(out.size(), 1u) << r.out;
        const std::string okLine = std::to_string(3 + std::count(field.begin(), field.end(), '\n'));
        EXPECT_EQ(out[0].rfind("{\"line\":" + okLine + ",\"name\":\"ok\"", 0), 0u) << out[0].substr(0, 40);
        EXPECT_NE(r.err.find("line 2: line longer than"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace tl::test
