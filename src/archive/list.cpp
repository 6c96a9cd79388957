#include "archive/list.h"

#include <charconv>

#include "archive/store.h"

namespace tl {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Appends `s` cut or padded with spaces to `width` characters. Control
// characters (a CR or LF in a damaged name, say) would break the line; they
// show as U+FFFD.
void AppendFitted(std::string& out, std::string_view s, std::size_t width) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto u = static_cast<unsigned char>(s[i]);
        if (IsContinuation(u)) {
            if (chars > 0) out += s[i];
            continue;
        }
        if (chars == width) break;
        ++chars;
        if (u < 0x20 || u == 0x7F) out += kReplacement;
        else out += s[i];
    }
    out.append(width - chars, ' ');
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

std::string ArchiveListLine(const ChartRecord& r) {
    std::string line;
    line.reserve(120);
    line += ' ';
    AppendNumber(line, r.recordNumber);
    line += '-';
    AppendFitted(line, r.name, 8);
    AppendFitted(line, r.sex, 2);
    line += "  ";
    line += "  ";
    AppendFitted(line, r.place, 10);
    line += "  年辰:";
    line += OleDateText(r.birthDate);
    line += ',';
    line += OleDateText(r.birthTime);
    line += "  记录时间:";
    line += OleDateText(r.savedAt);
    return line;
}

ArchiveList BuildArchiveList(std::span<const ChartRecord> records) {
    ArchiveList list;
    list.reserve(records.size() * 2);
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (records[k].deleted != 0) continue;
        list.push_back({ArchiveListLine(records[k]), static_cast<int>(k) + 1});
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
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || n < 0 || n >= kMaxRecords)
        return std::nullopt;
    return n + 1;
}

}  // namespace tl
