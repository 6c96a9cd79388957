// tenglan-cli batch: births as CSV on stdin, one JSON line per birth on
// stdout. A bad line is reported on stderr with its line number and skipped;
// the others still run.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "chart/report.h"
#include "chart/run.h"
#include "place/gazetteer.h"
#include "text/utf8.h"
#include "cli/chart_args.h"
#include "cli/chart_json.h"
#include "cli/commands.h"

namespace tl::cli {

namespace {

constexpr std::size_t kMaxLineBytes = 64 * 1024;
constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kFlushAt = 1 << 20;

enum Column { kName, kSex, kCalendar, kDate, kTime, kLeap, kProvince, kPlace, kTrueSolar, kZi, kDst, kColumnCount };
constexpr std::string_view kColumnNames[kColumnCount] = {"name", "sex",      "calendar", "date",      "time",
                                                         "leap", "province", "place",    "truesolar", "zi", "dst"};

// Splits one CSV record. Fields may be quoted with "..." ("" inside for a
// quote). Returns false on a malformed quote.
bool SplitCsv(std::string_view line, std::vector<std::string>& fields, std::size_t& count) {
    count = 0;
    std::size_t i = 0;
    for (;;) {
        if (fields.size() <= count) fields.emplace_back();
        std::string& f = fields[count++];
        f.clear();
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return false;  // unterminated quote
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        f += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                f += line[i++];
            }
            if (i < line.size() && line[i] != ',') return false;  // text after the closing quote
        } else {
            const std::size_t end = line.find(',', i);
            const std::size_t stop = end == std::string_view::npos ? line.size() : end;
            f.assign(line.substr(i, stop - i));
            i = stop;
        }
        if (i >= line.size()) return true;
        ++i;  // the comma
    }
}

std::string_view TrimAscii(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool OneOfWords(std::string_view v, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words)
        if (EqualsIgnoreCase(v, w)) return true;
    return false;
}

// A yes/no cell: empty gives `empty`.
bool ParseFlag(std::string_view v, bool empty, bool& out) {
    if (v.empty()) { out = empty; return true; }
    if (OneOfWords(v, {"1", "true", "yes", "y", "是"})) { out = true; return true; }
    if (OneOfWords(v, {"0", "false", "no", "n", "否"})) { out = false; return true; }
    return false;
}

struct Batch {
    int columns[kColumnCount];
    std::size_t fieldCount = 0;
    bool withReport = false;
    std::vector<std::string> fields;
    std::string out;
    int failed = 0;

    Batch() { std::fill(std::begin(columns), std::end(columns), -1); }

    std::string_view Cell(Column c) const {
        return columns[c] < 0 ? std::string_view{} : std::string_view(fields[columns[c]]);
    }

    bool ReadHeader(std::string_view line, std::string& error) {
        std::size_t count = 0;
        if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // byte-order mark
        if (!SplitCsv(line, fields, count)) {
            error = "the header line is not valid CSV";
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = Lower(TrimAscii(fields[i]));
            int found = -1;
            for (int c = 0; c < kColumnCount; ++c)
                if (kColumnNames[c] == name) found = c;
            if (found < 0) {
                error = "unknown column '" + name +
                        "' in the header (columns: name, sex, calendar, date, time, leap, province, place, truesolar, zi, dst)";
                return false;
            }
            if (columns[found] >= 0) {
                error = "column '" + name + "' appears twice in the header";
                return false;
            }
            columns[found] = static_cast<int>(i);
        }
        if (columns[kDate] < 0 || columns[kTime] < 0) {
            error = "the header needs the columns date and time";
            return false;
        }
        fieldCount = count;
        return true;
    }

    // Reads one birth; on a bad value sets `error` and returns false.
    bool ReadBirth(std::string_view line, ChartRequest& r, std::string& error) {
        std::size_t count = 0;
        if (!IsValidUtf8(line)) {
            error = "not valid UTF-8";
            return false;
        }
        if (!SplitCsv(line, fields, count)) {
            error = "malformed quotes";
            return false;
        }
        if (count != fieldCount) {
            error = "expected " + std::to_string(fieldCount) + " fields, found " + std::to_string(count);
            return false;
        }
        r = ChartRequest{};
        r.personName = Trim(Cell(kName));

        const std::string_view sex = TrimAscii(Cell(kSex));
        if (sex.empty() || OneOfWords(sex, {"m", "male", "男"})) r.isMale = true;
        else if (OneOfWords(sex, {"f", "female", "女"})) r.isMale = false;
        else { error = "sex must be male or female, got '" + std::string(sex) + "'"; return false; }

        const std::string_view cal = TrimAscii(Cell(kCalendar));
        if (cal.empty() || OneOfWords(cal, {"g", "gregorian", "solar", "公历"})) r.isSolarInput = true;
        else if (OneOfWords(cal, {"l", "lunar", "农历"})) r.isSolarInput = false;
        else { error = "calendar must be gregorian or lunar, got '" + std::string(cal) + "'"; return false; }

        const std::string_view date = TrimAscii(Cell(kDate));
        if (!ReadBirthDate(date, r, error)) {
            error = "date must be YYYY-MM-DD with year " + RangeText(kCalendarFirstYear, kCalendarLastYear) + ", got '" +
                    std::string(date) + "'";
            return false;
        }
        const std::string_view time = TrimAscii(Cell(kTime));
        if (!ReadBirthTime(time, r, error)) {
            error = "time must be HH:MM (00:00..23:59), got '" + std::string(time) + "'";
            return false;
        }

        const std::string_view leap = TrimAscii(Cell(kLeap));
        if (!ParseFlag(leap, false, r.isLeapMonth)) {
            error = "leap must be 0 or 1, got '" + std::string(leap) + "'";
            return false;
        }
        if (r.isLeapMonth && r.isSolarInput) {
            error = "leap is only meaningful for a lunar date";
            return false;
        }

        const std::string_view province = TrimAscii(Cell(kProvince));
        if (!province.empty()) {
            const auto p = ParseProvince(province);
            if (!p) {
                error = "province must be " + RangeText(0, kProvinceCount - 1) + ", got '" + std::string(province) +
                        "'";
                return false;
            }
            r.provinceIndex = *p;
        }
        const std::string_view place = TrimAscii(Cell(kPlace));
        if (!place.empty()) {
            const auto p = ParsePlaceNumber(place);
            if (!p) { error = "place must be a list position from 1, got '" + std::string(place) + "'"; return false; }
            r.placeIndex = *p;
        }
        // Without a truesolar column a birthplace means the correction is wanted.
        const std::string_view solar = TrimAscii(Cell(kTrueSolar));
        if (!ParseFlag(solar, r.provinceIndex != 0, r.useTrueSolarTime)) {
            error = "truesolar must be 0 or 1, got '" + std::string(solar) + "'";
            return false;
        }
        const std::string_view zi = TrimAscii(Cell(kZi));
        if (!zi.empty()) {
            const auto hour = ParseZiDayChangeHour(zi);
            if (!hour) { error = "zi must be 23 or 0, got '" + std::string(zi) + "'"; return false; }
            r.ziDayChange = *hour;
        }
        // Daylight saving time is applied unless the dst column says 0.
        const std::string_view dst = TrimAscii(Cell(kDst));
        if (!ParseFlag(dst, true, r.applyDaylightSaving)) {
            error = "dst must be 0 or 1, got '" + std::string(dst) + "'";
            return false;
        }
        if (r.placeIndex > PlaceCount(r.provinceIndex)) {
            error = "no place " + std::to_string(r.placeIndex) + " in province " + std::to_string(r.provinceIndex);
            return false;
        }
        return true;
    }

    void Run(long lineNo, std::string_view line) {
        ChartRequest request;
        std::string error;
        if (!ReadBirth(line, request, error)) {
            Fail(lineNo, error);
            return;
        }
        const Chart chart = RunCalendar(request);
        JsonWriter w;
        w.BeginObject();
        w.Key("line").Int(lineNo);
        w.Key("name").String(Cell(kName));
        WriteChartMembers(w, chart);
        if (withReport) WriteReportMembers(w, BuildReport(chart, ReportHeaderOf(request, Cell(kName))));
        w.EndObject();
        out += w.str();
        out += '\n';
        if (out.size() >= kFlushAt) Flush();
    }

    void Fail(long lineNo, const std::string& message) {
        ++failed;
        std::cerr << "tenglan-cli batch: line " << lineNo << ": " << message << "\n";
    }

    bool Flush() {
        const bool ok = std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
        out.clear();
        return ok;
    }
};

}  // namespace

int CmdBatch(const Args& args) {
    Batch batch;
    for (const std::string& a : args) {
        if (a == "--report") {
            batch.withReport = true;
        } else {
            std::cerr << "tenglan-cli batch: unknown option '" << a << "' (usage: batch [--report] < births.csv)\n";
            return 2;
        }
    }
    batch.out.reserve(kFlushAt + (64 << 10));

    std::string buffer;
    std::vector<char> chunk(kReadChunk);
    long lineNo = 0;
    bool haveHeader = false;
    bool skippingLongLine = false;
    bool eof = false;
    std::size_t pos = 0;
    std::string headerError;

    // Returns false when the header is bad.
    auto handle = [&](std::string_view line) -> bool {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!haveHeader) {
            if (!batch.ReadHeader(line, headerError)) return false;
            haveHeader = true;
            return true;
        }
        if (TrimAscii(line).empty()) return true;  // a blank line is no birth
        if (line.size() > kMaxLineBytes) {
            batch.Fail(lineNo, "line longer than " + std::to_string(kMaxLineBytes) + " bytes");
            return true;
        }
        batch.Run(lineNo, line);
        return true;
    };

    while (!eof) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stdin);
        if (got < chunk.size()) eof = true;
        buffer.erase(0, pos);
        pos = 0;
        buffer.append(chunk.data(), got);
        for (;;) {
            const std::size_t nl = buffer.find('\n', pos);
            if (nl == std::string::npos) break;
            const std::string_view line(buffer.data() + pos, nl - pos);
            pos = nl + 1;
            if (skippingLongLine) {
                skippingLongLine = false;
                continue;
            }
            if (!handle(line)) {
                batch.Flush();
                std::cerr << "tenglan-cli batch: line " << lineNo << ": " << headerError << "\n";
                return 2;
            }
        }
        if (buffer.size() - pos > kMaxLineBytes) {
            // A line too long to be a birth: report it and skip to its end.
            if (!skippingLongLine) {
                ++lineNo;
                if (!haveHeader) {
                    std::cerr << "tenglan-cli batch: line 1: the header line is too long\n";
                    return 2;
                }
                batch.Fail(lineNo, "line longer than " + std::to_string(kMaxLineBytes) + " bytes");
            }
            skippingLongLine = true;
            pos = buffer.size();
        }
    }
    if (std::ferror(stdin)) {
        batch.Flush();
        std::cerr << "tenglan-cli batch: cannot read the input\n";
        return 2;
    }
    if (pos < buffer.size() && !skippingLongLine) {
        // The last line without a line end.
        if (!handle(std::string_view(buffer).substr(pos))) {
            std::cerr << "tenglan-cli batch: line " << lineNo << ": " << headerError << "\n";
            return 2;
        }
    }
    if (!haveHeader) {
        std::cerr << "tenglan-cli batch: no header line on the input\n";
        return 2;
    }
    if (!batch.Flush() || std::fflush(stdout) != 0) {
        std::cerr << "tenglan-cli batch: cannot write the output\n";
        return 1;
    }
    return batch.failed == 0 ? 0 : 1;
}

}  // namespace tl::cli
