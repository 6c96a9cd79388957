#include "archive/store.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

#include "text/gbk.h"
#include "text/text_file.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const fs::path& p, const char* mode) { return File(std::fopen(p.c_str(), mode)); }

// Closes a file that was written to and reports whether every byte reached
// it.
bool CloseWritten(File f) {
    const bool flushed = std::fflush(f.get()) == 0 && std::ferror(f.get()) == 0;
    return std::fclose(f.release()) == 0 && flushed;
}

std::optional<std::uintmax_t> FileLength(const fs::path& p) {
    std::error_code ec;
    const std::uintmax_t n = fs::file_size(p, ec);
    if (ec) return std::nullopt;
    return n;
}

// Reads up to `size` bytes at `offset`; the bytes past the end of the file
// stay zero. Empty when the file cannot be read.
std::optional<std::string> ReadAt(const fs::path& p, std::uintmax_t offset, std::size_t size) {
    File f = Open(p, "rb");
    if (!f) return std::nullopt;
    std::string out(size, '\0');
    if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) return std::nullopt;
    const std::size_t got = std::fread(out.data(), 1, size, f.get());
    if (got < size && std::ferror(f.get())) return std::nullopt;
    return out;
}

// Writes `bytes` at `offset` of an existing file; a gap before the offset
// reads as zero bytes.
bool WriteAt(const fs::path& p, std::uintmax_t offset, std::string_view bytes) {
    File f = Open(p, "r+b");
    if (!f) return false;
    if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
    return CloseWritten(std::move(f));
}

// Creates an empty file when there is none; `created` tells which.
bool EnsureFileExists(const fs::path& p, bool& created) {
    std::error_code ec;
    created = false;
    if (fs::exists(p, ec)) return true;
    File f = Open(p, "ab");
    created = f != nullptr;
    return f && CloseWritten(std::move(f));
}

std::uintmax_t AddressableCount(std::uintmax_t count) {
    return count < static_cast<std::uintmax_t>(kMaxRecords) ? count : static_cast<std::uintmax_t>(kMaxRecords);
}

// What an append changed, so that it can be taken back: the length of the
// file before, and the bytes the new record overwrote (a stray tail shorter
// than a record, left by some other program).
struct AppendUndo {
    int position = 0;
    std::uintmax_t previousLength = 0;
    std::uintmax_t offset = 0;
    std::string overwritten;
    bool created = false;  // reco.dat did not exist before
};

bool Undo(const fs::path& file, const AppendUndo& undo) {
    std::error_code ec;
    if (undo.created) return fs::remove(file, ec);
    fs::resize_file(file, undo.previousLength, ec);
    if (ec) return false;
    return undo.overwritten.empty() || WriteAt(file, undo.offset, undo.overwritten);
}

std::optional<AppendUndo> Append(const fs::path& folder, const ChartRecord& current, double savedAt) {
    const fs::path file = RecordFilePath(folder);
    AppendUndo undo;
    if (!EnsureFileExists(file, undo.created)) return std::nullopt;
    const auto length = FileLength(file);
    if (!length) return std::nullopt;
    const std::uintmax_t n = RecordCountOfLength(*length);
    if (n >= static_cast<std::uintmax_t>(kMaxRecords)) return std::nullopt;

    undo.position = static_cast<int>(n) + 1;
    undo.previousLength = *length;
    undo.offset = n * kRecordSize;
    if (undo.offset < *length) {
        const auto tail = ReadAt(file, undo.offset, static_cast<std::size_t>(*length - undo.offset));
        if (!tail) return std::nullopt;
        undo.overwritten = *tail;
    }

    ChartRecord r = current;
    r.recordNumber = static_cast<int>(n);
    r.savedAt = savedAt;
    const RecordBytes bytes = EncodeRecord(r);
    if (!WriteAt(file, undo.offset, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        Undo(file, undo);
        return std::nullopt;
    }
    return undo;
}

}  // namespace

fs::path RecordFilePath(const fs::path& programFolder) { return programFolder / "reco.dat"; }

fs::path SavedTextPath(const fs::path& programFolder, int position) {
    return programFolder / "save" / (std::to_string(position) + ".txt");
}

std::uintmax_t RecordCountOfLength(std::uintmax_t length) {
    const std::uintmax_t whole = length / kRecordSize;
    const std::uintmax_t rest = length % kRecordSize;
    if (rest * 2 > kRecordSize) return whole + 1;
    if (rest * 2 == kRecordSize) return whole + (whole % 2);  // halves go to the even number
    return whole;
}

std::optional<std::uintmax_t> CountRecords(const fs::path& programFolder) {
    const fs::path file = RecordFilePath(programFolder);
    std::error_code ec;
    if (!fs::exists(file, ec)) return ec ? std::nullopt : std::optional<std::uintmax_t>(0);
    const auto length = FileLength(file);
    if (!length) return std::nullopt;
    return RecordCountOfLength(*length);
}

std::optional<ChartRecord> ReadRecord(const fs::path& programFolder, int position) {
    const auto count = CountRecords(programFolder);
    if (!count || position < 1 || static_cast<std::uintmax_t>(position) > AddressableCount(*count))
        return std::nullopt;
    const auto bytes =
        ReadAt(RecordFilePath(programFolder), static_cast<std::uintmax_t>(position - 1) * kRecordSize, kRecordSize);
    if (!bytes) return std::nullopt;
    RecordBytes b;
    std::copy(bytes->begin(), bytes->end(), b.begin());
    return DecodeRecord(b);
}

std::optional<std::vector<ChartRecord>> ReadRecords(const fs::path& programFolder) {
    const auto count = CountRecords(programFolder);
    if (!count) return std::nullopt;
    const std::size_t n = static_cast<std::size_t>(AddressableCount(*count));
    std::vector<ChartRecord> records;
    if (n == 0) return records;
    const auto bytes = ReadAt(RecordFilePath(programFolder), 0, n * kRecordSize);
    if (!bytes) return std::nullopt;
    records.reserve(n);
    GbkCodec codec;
    RecordBytes b;
    for (std::size_t k = 0; k < n; ++k) {
        std::copy_n(bytes->begin() + static_cast<std::ptrdiff_t>(k * kRecordSize), kRecordSize, b.begin());
        records.push_back(DecodeRecord(b, codec));
    }
    return records;
}

std::optional<int> AppendRecord(const fs::path& programFolder, const ChartRecord& current, double savedAt) {
    const auto undo = Append(programFolder, current, savedAt);
    if (!undo) return std::nullopt;
    return undo->position;
}

bool MarkDeleted(const fs::path& programFolder, int position) {
    const auto count = CountRecords(programFolder);
    if (!count || position < 1 || static_cast<std::uintmax_t>(position) > AddressableCount(*count)) return false;
    // deleted = -1: the two bytes FF FF at offset 54 of the record.
    const std::uintmax_t offset = static_cast<std::uintmax_t>(position - 1) * kRecordSize + 54;
    return WriteAt(RecordFilePath(programFolder), offset, "\xFF\xFF");
}

SaveOutcome SaveChart(const fs::path& programFolder, const ChartRecord& current, std::string_view reportText,
                      double savedAt) {
    SaveOutcome out;
    out.message = kSaveFolderMissingMessage;
    const auto undo = Append(programFolder, current, savedAt);
    if (!undo) return out;
    if (!WriteGbkTextFile(SavedTextPath(programFolder, undo->position), reportText)) {
        // No text, no record: take the record back out.
        Undo(RecordFilePath(programFolder), *undo);
        return out;
    }
    out.saved = true;
    out.position = undo->position;
    out.message = kSaveDoneMessage;
    return out;
}

}  // namespace tl
