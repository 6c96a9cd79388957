#include "archive/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/file_io.h"
#include "text/gbk.h"
#include "text/text_file.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

std::uintmax_t AddressableCount(std::uintmax_t count) {
    return count < static_cast<std::uintmax_t>(kMaxRecords) ? count : static_cast<std::uintmax_t>(kMaxRecords);
}

// reco.dat, open and locked for one operation. Every program that works on
// the archive locks the file: saving and deleting exclusively, from reading
// the record count to the last write, listing and reading shared. So two
// programs on one folder (two windows of the program, or the program and
// tenglan-cli) never write the same position, and a reader sees the archive
// as it was before a save or after it, never half of one.
struct LockedFile {
    FileHandle file;
    std::uintmax_t length = 0;
    bool created = false;  // this operation created the file
    bool missing = false;  // no reco.dat (reading only)
};

enum class Access { kRead, kChange, kAppend };

// Whether `fd` is still the file at `path`: a failed first save removes the
// reco.dat it created, and whoever was waiting for its lock opens the file
// anew.
bool StillAtPath(int fd, const fs::path& path) {
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && opened.st_nlink > 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Opens and locks the folder's reco.dat, a regular file or nothing: a
// folder, a pipe or a device there is unusable. kAppend creates the file
// when missing; kRead reports a missing file as `missing`.
std::optional<LockedFile> OpenLocked(const fs::path& folder, Access access) {
    const fs::path path = RecordFilePath(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        LockedFile f;
        f.file = OpenRegularFile(path, access == Access::kRead ? O_RDONLY : O_RDWR);
        if (!f.file && (errno == ENOENT || errno == ENOTDIR)) {
            if (access == Access::kRead) {
                f.missing = true;
                return f;
            }
            if (access == Access::kChange || errno == ENOTDIR) return std::nullopt;
            f.file = CreateNewFile(path);
            if (!f.file && errno == EEXIST) continue;  // another program was quicker
            f.created = static_cast<bool>(f.file);
        }
        if (!f.file) return std::nullopt;
        if (!LockFile(f.file.get(), access != Access::kRead)) return std::nullopt;
        if (!StillAtPath(f.file.get(), path)) continue;
        struct stat st {};
        if (::fstat(f.file.get(), &st) != 0) return std::nullopt;
        f.length = static_cast<std::uintmax_t>(st.st_size);
        return f;
    }
    return std::nullopt;
}

// What an append changed, so that it can be taken back: the length of the
// file before, and the bytes the new record overwrote (a stray tail shorter
// than a record, left by some other program).
struct AppendUndo {
    int position = 0;
    std::uintmax_t previousLength = 0;
    std::uintmax_t offset = 0;
    std::string overwritten;
};

// Takes the record back out, still under the lock, so that nothing but
// this save's own record goes. A reco.dat this save created goes as a
// whole (emptied first, for a reader that still has it open).
bool Undo(const fs::path& folder, LockedFile& f, const AppendUndo& undo) {
    if (f.created && undo.previousLength == 0) {
        const bool emptied = ::ftruncate(f.file.get(), 0) == 0;
        return emptied && ::unlink(RecordFilePath(folder).c_str()) == 0 && SyncFolder(folder);
    }
    if (::ftruncate(f.file.get(), static_cast<off_t>(undo.previousLength)) != 0) return false;
    if (!undo.overwritten.empty() && !WriteAt(f.file.get(), undo.offset, undo.overwritten)) return false;
    return SyncFile(f.file.get());
}

// Writes `current` at the end of the locked file.
std::optional<AppendUndo> Append(const fs::path& folder, LockedFile& f, const ChartRecord& current,
                                 double savedAt) {
    const std::uintmax_t n = RecordCountOfLength(f.length);
    if (n >= static_cast<std::uintmax_t>(kMaxRecords)) return std::nullopt;

    AppendUndo undo;
    undo.position = static_cast<int>(n) + 1;
    undo.previousLength = f.length;
    undo.offset = n * kRecordSize;
    if (undo.offset < f.length) {
        const auto tail = ReadAt(f.file.get(), undo.offset, static_cast<std::size_t>(f.length - undo.offset));
        if (!tail) return std::nullopt;
        undo.overwritten = *tail;
    }

    ChartRecord r = current;
    r.recordNumber = static_cast<int>(n);
    r.savedAt = savedAt;
    const RecordBytes bytes = EncodeRecord(r);
    if (!WriteAt(f.file.get(), undo.offset,
                 std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
        const int error = errno;
        Undo(folder, f, undo);
        errno = error;
        return std::nullopt;
    }
    return undo;
}

// Puts the appended record on disk, and with a new reco.dat its folder entry.
bool SyncAppended(const fs::path& folder, const LockedFile& f) {
    return SyncFile(f.file.get()) && (!f.created || SyncFolder(folder));
}

// Reads `size` bytes at `offset`; bytes past the end of the file stay zero.
std::optional<std::string> ReadPadded(const LockedFile& f, std::uintmax_t offset, std::size_t size) {
    auto bytes = ReadAt(f.file.get(), offset, size);
    if (bytes) bytes->resize(size, '\0');
    return bytes;
}

// Removes the temporary files of saves that were cut off by a crash, so
// that they do not pile up. Only under the exclusive lock: no other save can
// be writing one at the same time.
void RemoveLeftoverTemporaryFiles(const fs::path& textFolder) {
    std::error_code ec;
    for (fs::directory_iterator it(textFolder, ec), end; !ec && it != end; it.increment(ec))
        if (IsTemporaryName(it->path().filename().string())) ::unlink(it->path().c_str());
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
    const auto f = OpenLocked(programFolder, Access::kRead);
    if (!f) return std::nullopt;
    return RecordCountOfLength(f->length);
}

std::optional<ChartRecord> ReadRecord(const fs::path& programFolder, int position) {
    const auto f = OpenLocked(programFolder, Access::kRead);
    if (!f || position < 1 ||
        static_cast<std::uintmax_t>(position) > AddressableCount(RecordCountOfLength(f->length)))
        return std::nullopt;
    const auto bytes = ReadPadded(*f, static_cast<std::uintmax_t>(position - 1) * kRecordSize, kRecordSize);
    if (!bytes) return std::nullopt;
    RecordBytes b;
    std::copy(bytes->begin(), bytes->end(), b.begin());
    return DecodeRecord(b);
}

std::optional<std::vector<ChartRecord>> ReadRecords(const fs::path& programFolder) {
    const auto f = OpenLocked(programFolder, Access::kRead);
    if (!f) return std::nullopt;
    const std::size_t n = static_cast<std::size_t>(AddressableCount(RecordCountOfLength(f->length)));
    std::vector<ChartRecord> records;
    if (n == 0) return records;
    const auto bytes = ReadPadded(*f, 0, n * kRecordSize);
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
    auto f = OpenLocked(programFolder, Access::kAppend);
    if (!f) return std::nullopt;
    const auto undo = Append(programFolder, *f, current, savedAt);
    if (!undo) return std::nullopt;
    if (!SyncAppended(programFolder, *f)) {
        Undo(programFolder, *f, *undo);
        return std::nullopt;
    }
    return undo->position;
}

bool MarkDeleted(const fs::path& programFolder, int position) {
    const auto f = OpenLocked(programFolder, Access::kChange);
    if (!f || position < 1 ||
        static_cast<std::uintmax_t>(position) > AddressableCount(RecordCountOfLength(f->length)))
        return false;
    // deleted = -1: the two bytes FF FF at offset 54 of the record.
    const std::uintmax_t offset = static_cast<std::uintmax_t>(position - 1) * kRecordSize + 54;
    return WriteAt(f->file.get(), offset, "\xFF\xFF") && SyncFile(f->file.get());
}

std::string ArchiveBusyMessage(const fs::path& programFolder) {
    return "另一个腾岚程序正在保存存档, " + RecordFilePath(programFolder).string() +
           " 一直被它锁定. 请稍后重试; 若那个程序已无响应, 请先关闭它.";
}

SaveOutcome SaveChart(const fs::path& programFolder, const ChartRecord& current, std::string_view reportText,
                      double savedAt) {
    SaveOutcome out;
    const auto fail = [&out](std::string message) {
        out.message = std::move(message);
        return out;
    };
    const auto failWith = [&fail](const fs::path& where, int error) {
        return fail(WriteFailureMessage(where, error));
    };
    // Without the system's GB18030 converter every Chinese character would
    // be stored as '?'.
    if (!CanWriteGbk(reportText) || !CanWriteGbk(current.name) || !CanWriteGbk(current.place) ||
        !CanWriteGbk(current.sex))
        return fail(std::string(kNoGbkConverterMessage));

    const fs::path recordFile = RecordFilePath(programFolder);
    const fs::path textFolder = programFolder / "save";
    // The lock is held from the record count to the record, so that the
    // position, its text and its record belong to this save alone.
    auto f = OpenLocked(programFolder, Access::kAppend);
    if (!f) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            out.busy = true;
            return fail(ArchiveBusyMessage(programFolder));
        }
        return failWith(recordFile, error);
    }
    // A reco.dat that this save created goes again when the save fails.
    const auto dropCreated = [&] {
        if (f->created && f->length == 0) Undo(programFolder, *f, AppendUndo{});
    };
    RemoveLeftoverTemporaryFiles(textFolder);

    const std::uintmax_t n = RecordCountOfLength(f->length);
    if (n >= static_cast<std::uintmax_t>(kMaxRecords))
        return fail("保存失败: 存档已满, " + recordFile.string() + " 已有 " + std::to_string(kMaxRecords) +
                    " 条记录, 不能再增加.");
    const int position = static_cast<int>(n) + 1;
    const fs::path textFile = SavedTextPath(programFolder, position);

    // First the text, on disk under its own name.
    struct stat st {};
    if (::lstat(textFile.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        dropCreated();
        return fail("保存失败: " + textFile.string() + " 是一个文件夹, 占用了这次保存的文本文件名. 请删除或移走它, 再保存.");
    }
    if (!WriteGbkTextFile(textFile, reportText, ExistingFile::kReplace)) {
        const int error = errno;
        dropCreated();
        std::error_code ec;
        if (error == ENOENT && !fs::exists(fs::symlink_status(textFolder, ec))) {
            out.message = kSaveFolderMissingMessage;
            return out;
        }
        return failWith(error == ENOENT || error == ENOTDIR || error == EACCES ? textFolder : textFile, error);
    }

    // Then the record: once it is on disk the save is done.
    const auto undo = Append(programFolder, *f, current, savedAt);
    if (!undo || !SyncAppended(programFolder, *f)) {
        const int error = errno;
        if (undo) Undo(programFolder, *f, *undo);
        ::unlink(textFile.c_str());
        return failWith(recordFile, error);
    }
    out.saved = true;
    out.position = undo->position;
    out.message = kSaveDoneMessage;
    return out;
}

}  // namespace tl
