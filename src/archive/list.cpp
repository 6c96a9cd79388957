#include "archive/list.h"

#include <charconv>

#include "archive/store.h"

namespace tl {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The columns a character takes in a fixed-width face in which a Chinese
// character is two Latin columns: one for ASCII, two for any other.
std::size_t Columns(unsigned char lead) { return lead < 0x80 ? 1 : 2; }

// Appends `s` cut or padded with spaces to `width` columns; a character
// that would not fit whole is cut. Control characters (a CR or LF in a
// damaged name, say) would break the line; they show as U+FFFD.
void AppendFitted(std::string& out, std::string_view s, std::size_t width) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto u = static_cast<unsigned char>(s[i]);
        std::size_t end = i + 1;
        while (end < s.size() && IsContinuation(static_cast<unsigned char>(s[end]))) ++end;
        const bool control = u < 0x20 || u == 0x7F;
        const std::size_t columns = control ? 2 : Columns(u);
        if (IsContinuation(u)) {  // a stray continuation byte shows as U+FFFD too
            i = end;
            continue;
        }
        if (used + columns > width) break;
        used += columns;
        if (control) out += kReplacement;
        else out.append(s.substr(i, end - i));
        i = end;
    }
    out.append(width - used, ' ');
}

void AppendNumber(std::string& out, long n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

void AppendTwoDigits(std::string& out, int n) {
    out += static_cast<char>('0' + n / 10);
    out += static_cast<char>('0' + n % 10);
}

}  // namespace

std::string OleDateText(double value) {
    const auto parts = SplitOleDate(value);
    if (!parts) return {};
    std::string out;
    const bool showDate = parts->day != 0;
    const bool showTime = parts->time.seconds != 0 || !showDate;
    if (showDate) {
        AppendNumber(out, parts->date.year);
        out += '-';
        AppendNumber(out, parts->date.month);
        out += '-';
        AppendNumber(out, parts->date.day);
    }
    if (showTime) {
        if (showDate) out += ' ';
        AppendNumber(out, parts->time.hour());
        out += ':';
        AppendTwoDigits(out, parts->time.minute());
        out += ':';
        AppendTwoDigits(out, parts->time.second());
    }
    return out;
}

std::string ArchiveListLine(const ChartRecord& r, int position) {
    std::string line;
    line.reserve(128);
    std::string number;
    AppendNumber(number, position);
    if (number.size() < 5) line.append(5 - number.size(), ' ');
    line += number;
    line += '-';
    AppendFitted(line, r.name, 12);
    line += ' ';
    AppendFitted(line, r.sex, 2);
    line += "    ";
    AppendFitted(line, r.place, 14);
    line += "  年辰:";
    line += OleDateText(r.birthDate);
    line += ',';
    line += OleDateText(r.birthTime);
    line += "  记录时间:";
    line += OleDateText(r.savedAt);
    return line;
}

namespace {

std::string TrimmedField(std::string_view s) {
    std::string out;
    AppendFitted(out, s, s.size() * 2);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    const std::size_t start = out.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : out.substr(start);
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

std::string RecordSummary(const ChartRecord& r) {
    std::string name = TrimmedField(r.name);
    if (name.empty()) name = "没有名字";
    std::string summary = name;
    if (const std::string sex = TrimmedField(r.sex); !sex.empty()) {
        summary += ' ';
        summary += sex;
    }
    summary += ' ';
    summary += OleDateText(r.birthDate);
    summary += ' ';
    summary += OleDateText(r.birthTime);
    return summary;
}

bool RecordMatches(const ChartRecord& r, std::string_view query) {
    const std::string q = TrimmedField(query);
    if (q.empty()) return true;
    if (LowerAscii(TrimmedField(r.name)).find(LowerAscii(q)) != std::string::npos) return true;
    if (q.size() != 4 || q.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto birth = SplitOleDate(r.birthDate);
    return birth && birth->day != 0 && std::to_string(birth->date.year) == q;
}

ArchiveList BuildArchiveList(std::span<const ChartRecord> records, std::string_view query) {
    ArchiveList list;
    list.reserve(records.size() * 2);
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (records[k].deleted != 0 || !RecordMatches(records[k], query)) continue;
        const int position = static_cast<int>(k) + 1;
        list.push_back({ArchiveListLine(records[k], position), position});
        list.push_back({std::string(), 0});
    }
    return list;
}

std::optional<ArchiveList> ListArchive(const std::filesystem::path& programFolder) {
    const auto records = ReadRecords(programFolder);
    if (!records) return std::nullopt;
    return BuildArchiveList(*records);
}

std::optional<int> SelectedPosition(const ArchiveList& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return std::nullopt;
    const int position = list[static_cast<std::size_t>(index)].position;
    if (position < 1) return std::nullopt;
    return position;
}

std::optional<int> PositionOfListLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    const std::size_t dash = line.find('-', start);
    if (dash == std::string_view::npos || dash == start) return std::nullopt;
    const std::string_view digits = line.substr(start, dash - start);
    int n = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || n < 1 || n > kMaxRecords)
        return std::nullopt;
    return n;
}

}  // namespace tl
