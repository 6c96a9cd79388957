// The archive on disk: reco.dat, a flat file of 56-byte records in the
// program folder, and one report text per record in the folder "save",
// named by the record's position. Every operation takes the program folder
// and opens and closes the files it needs. Several programs may work on one
// folder at once: each operation locks reco.dat (flock), shared for
// reading, exclusive for saving and deleting, so no save overwrites or takes
// back another's record and no reader sees half a save. A lock that another
// program holds for longer than a few seconds (a program that hangs while
// saving) is given up on: the operation fails with errno EWOULDBLOCK. reco.dat
// must be a regular file (or a link to one); anything else there is
// unusable.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/record.h"

namespace tl {

// Positions and the count are 16-bit signed numbers: at most 32767 records.
inline constexpr int kMaxRecords = 32767;

inline constexpr std::string_view kSaveDoneMessage = "文件保存成功!";
inline constexpr std::string_view kSaveFolderMissingMessage = "目录Save文件夹丢失!";

// <program folder>/reco.dat
std::filesystem::path RecordFilePath(const std::filesystem::path& programFolder);
// <program folder>/save/<position>.txt
std::filesystem::path SavedTextPath(const std::filesystem::path& programFolder, int position);

// The record count of a file of `length` bytes: length / 56 rounded to the
// nearest whole number, halves to the even number.
std::uintmax_t RecordCountOfLength(std::uintmax_t length);

// The record count of the folder's reco.dat; 0 when there is no such file,
// empty when it is no regular file or its length cannot be read. May exceed kMaxRecords for a file
// this program did not write; only the first kMaxRecords positions are ever
// read or changed.
std::optional<std::uintmax_t> CountRecords(const std::filesystem::path& programFolder);

// Record `position` (1 .. count, at most kMaxRecords). Bytes of a last,
// incomplete record that lie past the end of the file read as zero. Empty
// for a position outside the file or a file that cannot be read.
std::optional<ChartRecord> ReadRecord(const std::filesystem::path& programFolder, int position);

// Positions 1 .. min(count, kMaxRecords) in order, deleted ones included.
// An empty list when there is no reco.dat; empty when it cannot be read.
std::optional<std::vector<ChartRecord>> ReadRecords(const std::filesystem::path& programFolder);

// Appends `current` with its recordNumber set to the count n and its save
// time to `savedAt`, at position n + 1; reco.dat is created when missing.
// Returns the new position once the record is on disk, or nothing when the
// file holds kMaxRecords records already or cannot be written (then the
// file is as it was).
std::optional<int> AppendRecord(const std::filesystem::path& programFolder, const ChartRecord& current,
                                double savedAt);

// Sets `deleted` of record `position` to -1 and puts it on disk; the record
// keeps its place and every other byte. False, with nothing changed, for a
// position outside 1 .. min(count, kMaxRecords) or a file that cannot be
// written.
bool MarkDeleted(const std::filesystem::path& programFolder, int position);

// The archive steps of Save result, under one exclusive lock of reco.dat:
// leftover temporary files of saves that a crash cut off are removed from
// the folder "save"; the report text (UTF-8, lines ending in CR LF as given)
// is written as GBK to the text file of the next position, replacing a
// file of that name (through a temporary file of a fresh name, never
// following a link) and put on disk with its folder entry; only then is the
// current record appended and put on disk. The record is what makes the
// save: a save cut off at any moment leaves at most a text file that no
// record lists, which the next save replaces, and never a record without
// its text. A failed save leaves reco.dat exactly as it was (a reco.dat this
// save created goes again) and removes its text file. The folder "save" is
// never created here.
struct SaveOutcome {
    bool saved = false;
    int position = 0;  // the new position when saved
    // Another program held the archive's lock all the time this save waited
    // for it; trying again later may well succeed.
    bool busy = false;
    // kSaveDoneMessage, kSaveFolderMissingMessage, or what went wrong where,
    // with the system's reason.
    std::string message;
};
SaveOutcome SaveChart(const std::filesystem::path& programFolder, const ChartRecord& current,
                      std::string_view reportText, double savedAt);

// What a reader of the archive says when another program held its lock
// for longer than kLockPatience (errno EWOULDBLOCK after a failed count,
// read or list).
std::string ArchiveBusyMessage(const std::filesystem::path& programFolder);

}  // namespace tl
