// The archive list of the archive window: one line per live record of
// reco.dat, each followed by an empty line, and which record a selected line
// stands for.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/record.h"

namespace tl {

// An OLE date as the list writes it: "1985-3-12" for a date, "9:05:00" for a
// time of day, "2008-12-11 4:57:51" for both. A value whose date part is 0
// shows only its time (0 itself is "0:00:00"); one whose time part is 0
// (to the second) only its date. Empty for a value that is no date (NaN,
// infinite, outside the years 100..9999).
std::string OleDateText(double value);

// The list line of the record at `position` in reco.dat:
//   the position right-aligned in 5 columns (the number of its text file
//   save/<position>.txt) and "-", the name padded to 12 columns and a space,
//   the sex padded to 2 columns, 4 spaces, the place padded to 14 columns,
//   "  年辰:" birth date "," birth time, "  记录时间:" save time.
// Widths count columns of a fixed-width face, a Chinese character as two:
// the fields show whole (a record holds at most as many GBK bytes, each a
// column), and the columns line up whatever the names. Control characters
// of a damaged record show as U+FFFD so that the line stays one line.
std::string ArchiveListLine(const ChartRecord& record, int position);

// The record in a few words, for a question about it: the name (or
// "没有名字"), the sex, the birth date and time ("张三 男 1985-3-12
// 9:05:00").
std::string RecordSummary(const ChartRecord& record);

// Whether a record is what a search of the archive list asks for: every
// record for an empty (or blank) query; else one whose name holds the
// query (Latin letters in either case), or, for a query of four digits,
// one born in that Gregorian year.
bool RecordMatches(const ChartRecord& record, std::string_view query);

// One line of the list and the position in reco.dat of the record it shows
// (0 for the empty line after each record).
struct ArchiveListEntry {
    std::string text;
    int position = 0;

    friend bool operator==(const ArchiveListEntry&, const ArchiveListEntry&) = default;
};
using ArchiveList = std::vector<ArchiveListEntry>;

// The list of `records`, the records of reco.dat at positions 1, 2, ... in
// order: for every live one (deleted == 0) that matches `query` its line,
// then an empty line.
ArchiveList BuildArchiveList(std::span<const ChartRecord> records, std::string_view query = {});

// The list of the folder's reco.dat: empty when there is no such file,
// nothing when it cannot be read. Read only; creates no file.
std::optional<ArchiveList> ListArchive(const std::filesystem::path& programFolder);

// The record position of list line `index`: nothing for an empty line or
// an index outside the list. It is the position the record was read from,
// the number at the start of its line.
std::optional<int> SelectedPosition(const ArchiveList& list, int index);

// The position a list line names: the number at its start (leading spaces
// skipped, read up to the "-"). Nothing for a line that does not start
// that way or names a position outside 1..32767.
std::optional<int> PositionOfListLine(std::string_view line);

}  // namespace tl
