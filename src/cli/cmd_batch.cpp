// tenglan-cli batch: births as CSV on stdin, one JSON line per birth on
// stdout. The CSV is read as RFC 4180 has it, by libcsv: a field in double
// quotes may hold commas, line breaks and doubled quotes, a quote anywhere
// else is an error; lines end in LF or CR LF; a UTF-8 byte-order mark before
// the header is skipped. The header line names the columns. A bad record is
// reported on stderr with the number of the line it begins on and skipped
// (a record longer than 64 KiB to its end, line ends inside its quotes
// included); the others still run. The first output that cannot be written ends the
// run.
#include <csv.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/report.h"
#include "chart/run.h"
#include "place/gazetteer.h"
#include "text/utf8.h"
#include "cli/batch_columns.h"
#include "cli/chart_args.h"
#include "settings/zi_day_change.h"
#include "cli/chart_json.h"
#include "cli/commands.h"
#include "cli/output.h"

namespace tl::cli {

namespace {

constexpr std::size_t kMaxRecordBytes = 64 * 1024;
constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kFlushAt = 1 << 20;

using Column = BatchColumn;

constexpr std::string_view kLoneCr = "a CR alone ends a line: lines must end in LF or CR LF";

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

// One run of `batch`. The input is fed to libcsv a line at a time (a piece
// ends at an LF, or where the input read so far ends), so the number of the
// line being read is always known; libcsv reports each field and each end of
// a record, and the record is handled at its end. A bad record stops the
// reading of its line: the rest of the line is dropped and libcsv starts
// afresh on the next one.
class Batch {
public:
    Batch(bool withReport, bool withValues) : withReport_(withReport), withValues_(withValues) {
        std::fill(std::begin(columns_), std::end(columns_), -1);
        out_.reserve(kFlushAt + (64 << 10));
        StartParser();
    }
    ~Batch() { csv_free(&parser_); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Reads stdin to its end, or until the run must stop; returns the exit
    // status.
    int Run() {
        std::vector<char> chunk(kReadChunk);
        bool first = true;
        while (status_ < 0) {
            const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stdin);
            std::string_view data(chunk.data(), got);
            if (first && data.starts_with("\xEF\xBB\xBF")) data.remove_prefix(3);  // byte-order mark
            first = false;
            while (!data.empty() && status_ < 0) {
                const std::size_t lf = data.find('\n');
                const std::size_t size = lf == std::string_view::npos ? data.size() : lf + 1;
                Feed(data.substr(0, size));
                if (lf != std::string_view::npos) NextLine();
                data.remove_prefix(size);
            }
            if (got < chunk.size()) break;
        }
        if (status_ >= 0) return status_;
        if (std::ferror(stdin)) {
            Flush();
            return Complain("batch", "cannot read the input", 2);
        }
        Finish();
        if (status_ >= 0) return status_;
        if (!haveHeader_) return Complain("batch", "no header line on the input", 2);
        if (!Flush()) return OutputFailed("batch");
        return failed_ == 0 ? 0 : 1;
    }

private:
    static void OnField(void* data, std::size_t size, void* self) {
        static_cast<Batch*>(self)->Field(static_cast<const char*>(data), size);
    }
    static void OnRecordEnd(int end, void* self) { static_cast<Batch*>(self)->RecordEnd(end); }

    // Strict: a quote inside an unquoted field, text after a closing quote
    // and a quoted field still open at the end of the input are errors.
    // Every CR and LF outside quotes ends a record (an LF right after a CR
    // as an empty one). Fields keep their blanks: the cells are trimmed
    // where they are read, and a name is given as written.
    void StartParser() {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL);
        csv_set_space_func(&parser_, [](unsigned char) { return 0; });
        csv_set_blk_size(&parser_, kMaxRecordBytes);
    }

    void Feed(std::string_view piece) {
        if (skipping_) {
            // The rest of an overlong record: a line end inside its quotes
            // does not end it.
            if (skipToRecordEnd_) inQuotes_ ^= QuotesAreOdd(piece);
            return;
        }
        recordEnded_ = false;
        const std::size_t parsed = csv_parse(&parser_, piece.data(), piece.size(), OnField, OnRecordEnd, this);
        if (skipping_) return;
        if (parsed < piece.size()) {
            if (csv_error(&parser_) != CSV_EPARSE) {
                Stop(Complain("batch", std::string("cannot read the input: ") + csv_strerror(csv_error(&parser_)), 2));
            } else if (crEnded_) {
                Reject(kLoneCr);
            } else {
                Reject(haveHeader_ ? "malformed quotes" : "the header line is not valid CSV");
            }
            return;
        }
        // The bytes of a record not yet ended; one that ended did so at the
        // end of the piece (or at a CR, whose LF is still to come).
        recordBytes_ = recordEnded_ ? 0 : recordBytes_ + piece.size();
        // Whether the record goes on inside a quoted field: in a record
        // that is valid so far every quote opens, closes or doubles within
        // a quoted field, so an odd count of them leaves one open.
        inQuotes_ = !recordEnded_ && (inQuotes_ ^ QuotesAreOdd(piece));
        if (recordBytes_ > kMaxRecordBytes) {
            Reject(TooLong());
            skipToRecordEnd_ = true;
        }
    }

    static bool QuotesAreOdd(std::string_view piece) { return std::count(piece.begin(), piece.end(), '"') % 2 != 0; }

    // An LF has been fed: the next line begins. After a bad record the
    // reading starts afresh here.
    void NextLine() {
        ++lineNo_;
        if (!skipping_ || status_ >= 0) return;
        if (skipToRecordEnd_ && inQuotes_) return;  // the overlong record goes on
        skipToRecordEnd_ = false;
        inQuotes_ = false;
        csv_free(&parser_);
        StartParser();
        skipping_ = false;
        crEnded_ = false;
        count_ = 0;
        recordBytes_ = 0;
        recordLine_ = lineNo_;
    }

    // The end of the input: a last record without a line end.
    void Finish() {
        if (skipping_) return;
        if (csv_fini(&parser_, OnField, OnRecordEnd, this) != 0) {
            Reject(haveHeader_ ? "malformed quotes: a quoted field is not closed"
                               : "the header line is not valid CSV: a quoted field is not closed");
        } else if (crEnded_ && !skipping_) {
            crEnded_ = false;
            Complete();  // a CR as the very last byte ends the last line
        }
    }

    void Field(const char* data, std::size_t size) {
        if (skipping_) return;
        if (crEnded_) {
            Reject(kLoneCr);
            return;
        }
        if (fields_.size() <= count_) fields_.emplace_back();
        fields_[count_++].assign(data, size);
    }

    void RecordEnd(int end) {
        if (skipping_) return;
        recordEnded_ = true;
        if (crEnded_) {
            // Only the empty record of an LF may follow a CR.
            if (end != '\n') {
                Reject(kLoneCr);
                return;
            }
            crEnded_ = false;
        } else if (end == '\r') {
            crEnded_ = true;  // the record is handled once its LF is seen
            return;
        }
        Complete();
        recordLine_ = end == '\n' ? lineNo_ + 1 : lineNo_;
    }

    // A record has ended: the header, a blank line, or a birth.
    void Complete() {
        std::size_t count = count_;
        count_ = 0;
        std::size_t bytes = count == 0 ? 0 : count - 1;
        for (std::size_t i = 0; i < count; ++i) bytes += fields_[i].size();
        if (!haveHeader_) {
            if (bytes > kMaxRecordBytes) return Reject(TooLong());
            if (count == 0) {  // an empty line: one empty column name
                if (fields_.empty()) fields_.emplace_back();
                fields_[0].clear();
                count = 1;
            }
            std::string error;
            if (!ReadHeader(count, error)) return Reject(error);
            haveHeader_ = true;
            return;
        }
        if (count == 0 || (count == 1 && TrimAscii(fields_[0]).empty())) return;  // a blank line is no birth
        if (bytes > kMaxRecordBytes) return Fail(recordLine_, TooLong());
        RunBirth(count);
    }

    std::string TooLong() const {
        return haveHeader_ ? "line longer than " + std::to_string(kMaxRecordBytes) + " bytes"
                           : "the header line is too long";
    }

    // The record being read is bad: a bad header ends the run, a bad birth
    // is reported, and the rest of its line is dropped.
    void Reject(std::string_view message) {
        crEnded_ = false;
        count_ = 0;
        skipping_ = true;
        if (!haveHeader_) {
            Stop(Complain("batch", "line " + std::to_string(recordLine_) + ": " + std::string(message), 2));
            return;
        }
        Fail(recordLine_, message);
    }

    void Stop(int status) {
        status_ = status;
        skipping_ = true;
    }

    std::string_view Cell(Column c) const {
        return columns_[c] < 0 ? std::string_view{} : std::string_view(fields_[columns_[c]]);
    }

    // Reads the header from the first `count` fields.
    bool ReadHeader(std::size_t count, std::string& error) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = Lower(TrimAscii(fields_[i]));
            int found = -1;
            for (int c = 0; c < kColumnCount; ++c)
                if (kBatchColumns[c].name == name) found = c;
            if (found < 0) {
                error = "unknown column '" + name + "' in the header (columns: " + BatchColumnList(false) + ")";
                return false;
            }
            if (columns_[found] >= 0) {
                error = "column '" + name + "' appears twice in the header";
                return false;
            }
            columns_[found] = static_cast<int>(i);
        }
        if (columns_[kDate] < 0 || columns_[kTime] < 0) {
            error = "the header needs the columns date and time";
            return false;
        }
        fieldCount_ = count;
        return true;
    }

    // Reads one birth; on a bad value sets `error` and returns false.
    bool ReadBirth(std::size_t count, ChartRequest& r, std::string& error) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!IsValidUtf8(fields_[i])) {
                error = "not valid UTF-8";
                return false;
            }
        }
        if (count != fieldCount_) {
            error = "expected " + std::to_string(fieldCount_) + " fields, found " + std::to_string(count);
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
        error = ImpossibleDateMessage(r);
        if (!error.empty()) return false;

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
        // A birth abroad: zone and longitude, and the latitude if known.
        const std::string_view zone = TrimAscii(Cell(kZone));
        const std::string_view longitude = TrimAscii(Cell(kLongitude));
        const std::string_view latitude = TrimAscii(Cell(kLatitude));
        const std::string_view country = TrimAscii(Cell(kCountry));
        const std::string city = Trim(Cell(kCity));
        const std::string region = Trim(Cell(kRegion));
        const bool byCity = !country.empty() || !city.empty() || !region.empty();
        const bool byLongitude = !zone.empty() || !longitude.empty() || !latitude.empty();
        if ((byCity || byLongitude) && (!province.empty() || !place.empty())) {
            error = "province and place are for births in China, not with country or zone";
            return false;
        }
        if (byCity && byLongitude) {
            error = "give either country and city or zone and longitude";
            return false;
        }
        if (byCity) {
            WorldPlace world;
            error = ReadPlaceByCity(country, city, region, {"country", "city", "region"}, world);
            if (!error.empty()) return false;
            r.world = std::move(world);
        }
        if (byLongitude) {
            WorldPlace world;
            error = ReadPlaceByLongitude(zone, longitude, latitude, {"zone", "longitude", "latitude"}, world);
            if (!error.empty()) return false;
            r.world = std::move(world);
        }
        // Without a truesolar column a birthplace means the correction is wanted.
        const std::string_view solar = TrimAscii(Cell(kTrueSolar));
        if (!ParseFlag(solar, r.provinceIndex != 0 || r.world.has_value(), r.useTrueSolarTime)) {
            error = "truesolar must be 0 or 1, got '" + std::string(solar) + "'";
            return false;
        }
        const std::string_view zi = TrimAscii(Cell(kZi));
        if (!zi.empty()) {
            const auto rule = zi.find_first_of("\r\n") == std::string_view::npos ? ParseZiDayChange(zi) : std::nullopt;
            if (!rule) { error = "zi must be 23 or 0, got '" + std::string(zi) + "'"; return false; }
            r.ziDayChange = *rule;
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

    void RunBirth(std::size_t count) {
        ChartRequest request;
        std::string error;
        if (!ReadBirth(count, request, error)) {
            Fail(recordLine_, error);
            return;
        }
        const Chart chart = RunCalendar(request);
        WarnIfDaylightSavingUnknown("batch", chart);
        WriteLine(request, chart);
        out_ += '\n';
        if (out_.size() >= kFlushAt && !Flush()) Stop(OutputFailed("batch"));
    }

    // The JSON object of one birth, at the end of the output.
    void WriteLine(const ChartRequest& request, const Chart& chart) {
        JsonWriter w(out_);
        w.BeginObject();
        w.Key("line").Int(recordLine_);
        w.Key("name").String(Cell(kName));
        WriteChartMembers(w, chart);
        if (withValues_ || withReport_) {
            const NatalTable natal = NatalTableOf(chart);
            const LuckTimeline luck = LuckTimelineOf(chart);
            if (withValues_) WriteAnalysisMembers(w, chart, natal, luck);
            if (withReport_)
                WriteReportMembers(w, BuildReport(chart, natal, luck, ReportHeaderOf(request, Cell(kName))));
        }
        w.EndObject();
    }

    void Fail(long line, std::string_view message) {
        ++failed_;
        Complain("batch", "line " + std::to_string(line) + ": " + std::string(message), 1);
    }

    bool Flush() {
        const bool ok = WriteOutput(out_);
        out_.clear();
        return ok;
    }

    const bool withReport_;
    const bool withValues_;
    csv_parser parser_{};
    int columns_[kColumnCount];
    std::size_t fieldCount_ = 0;
    bool haveHeader_ = false;

    std::vector<std::string> fields_;
    std::size_t count_ = 0;         // fields of the record being read
    std::size_t recordBytes_ = 0;   // its bytes fed so far, over earlier pieces
    long lineNo_ = 1;               // the line being fed
    long recordLine_ = 1;           // the line the record began on
    bool recordEnded_ = false;      // a record ended in the piece being fed
    bool crEnded_ = false;          // the record ended at a CR: an LF must follow
    bool skipping_ = false;         // the rest of the line is dropped
    bool skipToRecordEnd_ = false;  // ... and of an overlong record, to its end
    bool inQuotes_ = false;         // the record fed so far ends inside quotes

    std::string out_;
    int failed_ = 0;
    int status_ = -1;  // the exit status once the run must stop
};

}  // namespace

int CmdBatch(bool withReport, bool withValues) {
    Batch batch(withReport, withValues);
    return batch.Run();
}

}  // namespace tl::cli
