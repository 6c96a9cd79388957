// The program's own way with files: regular files only (a named pipe or a
// device is refused at once instead of being waited on), every byte read or
// written or a failure, and files replaced whole through a temporary file
// of a fresh name, on disk before the write is reported done.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// An open file descriptor, closed when the object goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle();

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes the file; false when the close reported an error.
    bool Close();

private:
    int fd_ = -1;
};

// Opens an existing regular file (or a link to one) with `flags` (O_RDONLY
// or O_RDWR). Anything else is refused without waiting on it: an invalid
// handle, errno ENOENT or ENOTDIR for a missing file, EINVAL for one that
// is no regular file.
FileHandle OpenRegularFile(const std::filesystem::path& path, int flags);
// Creates a new empty file, read and write, permissions 0666 less the
// umask. Fails (errno EEXIST) when any file, or a link, has that name.
FileHandle CreateNewFile(const std::filesystem::path& path);

// Reads up to `size` bytes at `offset`, fewer only at the end of the file.
std::optional<std::string> ReadAt(int fd, std::uintmax_t offset, std::size_t size);
// Writes all of `bytes` at `offset`.
bool WriteAt(int fd, std::uintmax_t offset, std::string_view bytes);
// Puts the file's content on disk.
bool SyncFile(int fd);
// Puts a folder's entries (a file created, renamed or removed in it) on
// disk.
bool SyncFolder(const std::filesystem::path& folder);

// How long an operation waits for a lock that another program holds
// before it gives up: long enough for any save, short enough that a program
// that hangs with the lock is noticed.
inline constexpr std::chrono::milliseconds kLockPatience{3000};

// Locks an open file (flock), shared or exclusive, waiting at most
// `patience`. False with errno EWOULDBLOCK when another program held the
// lock all that time, or with the system's errno on any other failure. A
// file system that cannot lock at all (some network and user-space ones)
// counts as locked: a single program still works there.
bool LockFile(int fd, bool exclusive, std::chrono::milliseconds patience = kLockPatience);

// The whole content of a regular file of at most `maxBytes` bytes; nothing
// when it is missing, no regular file, larger or unreadable.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// What replacing a file does with a file that is already there.
enum class ExistingFile {
    // As a text editor saves: a link is followed and its target gets the
    // new content; the file keeps its permission bits. A file with other
    // hard links is written in place once the whole new content is on disk
    // in the temporary file (which stays, complete, if that write is cut
    // off), so that all its names keep sharing it.
    kKeep,
    // The new file takes the name, whatever held it (a link there is
    // replaced, not followed).
    kReplace,
};

// Writes `bytes` to a temporary file of a fresh name in the same folder,
// puts it on disk and renames it over `path`, then puts the folder on
// disk: afterwards the file holds either all of `bytes` or, on failure,
// what it held before. False on any failure, with errno saying why; the
// temporary file is then removed. An existing file that is no regular file
// is never replaced in the kKeep way.
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, ExistingFile existing);

// The temporary names ReplaceFile uses beside `target`:
// ".<name>.<16 hex digits of number>.part".
std::filesystem::path TemporaryPath(const std::filesystem::path& target, std::uint64_t number);
// Whether a file name has that form: a leftover of a replace that was cut
// off by a crash.
bool IsTemporaryName(std::string_view fileName);
// Where the numbers of temporary names come from: a random source by
// default. Tests put a known source here to plant a file at the name a
// replace is going to use; nullptr restores the default.
using TemporaryNumberSource = std::uint64_t (*)();
void SetTemporaryNumberSource(TemporaryNumberSource source);

}  // namespace tl
