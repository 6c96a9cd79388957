#include "files/file_io.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

namespace tl {

namespace fs = std::filesystem;

namespace {

// Retries a system call that a signal interrupted.
template <typename Call>
auto Retry(Call call) {
    decltype(call()) r;
    do r = call();
    while (r < 0 && errno == EINTR);
    return r;
}

// Eight bytes no other writer is likely to pick: from the kernel's random
// source, else from the clock, the process and a counter. The name only has
// to be unlikely; creating it exclusively makes it unique.
std::uint64_t FreshNumber() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t n = 0;
    if (::getrandom(&n, sizeof n, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof n)) return n;
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return now ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^ (counter++ * 0x9E3779B97F4A7C15u);
}

std::atomic<TemporaryNumberSource> numberSource{nullptr};

std::uint64_t NextNumber() {
    const TemporaryNumberSource source = numberSource.load();
    return source ? source() : FreshNumber();
}

constexpr std::size_t kHexDigits = 16;
constexpr std::string_view kPartSuffix = ".part";

// The file a path names once every link on the way is followed (at most
// 40 of them); the path itself when it is no link. The result need not
// exist. Nothing for a loop of links or a link that cannot be read.
std::optional<fs::path> FollowLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::error_code ec;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileHandle::~FileHandle() { Close(); }

bool FileHandle::Close() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    // After an interrupted close the descriptor is gone all the same.
    return ::close(fd) == 0 || errno == EINTR;
}

FileHandle OpenRegularFile(const fs::path& path, int flags) {
    // Without O_NONBLOCK, opening a named pipe waits for its other end.
    FileHandle f(Retry([&] { return ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC); }));
    if (!f) return f;
    struct stat st {};
    if (::fstat(f.get(), &st) != 0) return FileHandle();
    if (!S_ISREG(st.st_mode)) {
        f.Close();
        errno = EINVAL;
        return FileHandle();
    }
    const int status = ::fcntl(f.get(), F_GETFL);
    if (status < 0 || ::fcntl(f.get(), F_SETFL, status & ~O_NONBLOCK) != 0) return FileHandle();
    return f;
}

FileHandle CreateNewFile(const fs::path& path) {
    return FileHandle(
        Retry([&] { return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666); }));
}

std::optional<std::string> ReadAt(int fd, std::uintmax_t offset, std::size_t size) {
    std::string out(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = Retry(
            [&] { return ::pread(fd, out.data() + got, size - got, static_cast<off_t>(offset + got)); });
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return out;
}

bool WriteAt(int fd, std::uintmax_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = Retry([&] {
            return ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        });
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

void WakeUp(int) {}

// Whether flock's error means that the file system cannot lock at all.
bool CannotLock(int error) { return error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

}  // namespace

bool LockFile(int fd, bool exclusive, std::chrono::milliseconds patience) {
    const int operation = exclusive ? LOCK_EX : LOCK_SH;
    if (Retry([&] { return ::flock(fd, operation | LOCK_NB); }) == 0) return true;
    if (CannotLock(errno)) return true;
    if (errno != EWOULDBLOCK) return false;

    // Waits in the kernel's queue for the lock, as a blocking flock does,
    // so that a program saving again and again cannot starve this one; a
    // timer signal aimed at this thread alone ends the wait once the
    // patience is spent. The signal's handler and mask are restored after.
    struct sigaction wake {}, previous {};
    wake.sa_handler = WakeUp;
    sigemptyset(&wake.sa_mask);
    wake.sa_flags = 0;  // no restart: the signal interrupts flock
    sigset_t alarm, previousMask;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    if (::sigaction(SIGALRM, &wake, &previous) != 0) return false;
    ::pthread_sigmask(SIG_UNBLOCK, &alarm, &previousMask);
    sigevent event {};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = SIGALRM;
    event._sigev_un._tid = static_cast<pid_t>(::gettid());
    timer_t timer {};
    bool locked = false;
    int error = EWOULDBLOCK;
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) == 0) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(patience).count();
        itimerspec when {};
        when.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        const auto end = std::chrono::steady_clock::now() + patience;
        if (::timer_settime(timer, 0, &when, nullptr) == 0) {
            for (;;) {
                if (::flock(fd, operation) == 0) {
                    locked = true;
                    break;
                }
                error = errno;
                if (error != EINTR) break;
                error = EWOULDBLOCK;
                if (std::chrono::steady_clock::now() >= end) break;  // another signal: wait on
            }
        } else {
            error = errno;
        }
        ::timer_delete(timer);
    } else {
        error = errno;
    }
    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    if (!locked && CannotLock(error)) return true;
    errno = error;
    return locked;
}

bool SyncFile(int fd) { return Retry([&] { return ::fsync(fd); }) == 0; }

bool SyncFolder(const fs::path& folder) {
    const fs::path name = folder.empty() ? fs::path(".") : folder;
    FileHandle f(Retry([&] { return ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (!f) return false;
    // A file system that cannot sync a folder (EINVAL) has nothing to put
    // on disk for it.
    return SyncFile(f.get()) || errno == EINVAL;
}

std::optional<std::string> ReadRegularFile(const fs::path& path, std::uintmax_t maxBytes) {
    const FileHandle f = OpenRegularFile(path, O_RDONLY);
    if (!f) return std::nullopt;
    struct stat st {};
    if (::fstat(f.get(), &st) != 0 || static_cast<std::uintmax_t>(st.st_size) > maxBytes) return std::nullopt;
    // Read to the end, not just the length seen: a file that grows while it
    // is read is cut at the limit like one that was larger to begin with.
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = Retry([&] { return ::read(f.get(), buf, sizeof buf); });
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) return std::nullopt;
    }
    return bytes;
}

bool ReplaceFile(const fs::path& path, std::string_view bytes, ExistingFile existing) {
    fs::path target = path;
    std::optional<mode_t> keepMode;
    bool otherLinks = false;
    if (existing == ExistingFile::kKeep) {
        const auto followed = FollowLinks(path);
        if (!followed) return false;
        target = *followed;
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) {
            if (!S_ISREG(st.st_mode)) return false;
            keepMode = st.st_mode & 07777;
            otherLinks = st.st_nlink > 1;
        } else if (errno != ENOENT) {
            return false;
        }
    }

    // A fresh name, created here and now: never a file or a link that was
    // already there.
    fs::path temp;
    FileHandle f;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = TemporaryPath(target, NextNumber());
        f = CreateNewFile(temp);
        if (!f && errno != EEXIST) return false;
    }
    if (!f) return false;

    bool ok = WriteAt(f.get(), 0, bytes);
    if (ok && keepMode) ok = ::fchmod(f.get(), *keepMode) == 0;
    ok = ok && SyncFile(f.get());
    int error = errno;
    if (!f.Close() && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    // A file with other hard links keeps its identity, so that every name
    // of it shows the new content: it is written in place, now that the
    // whole new content is on disk beside it. Should that be cut off, the
    // temporary copy stays and holds all of it.
    if (otherLinks) {
        const FileHandle inPlace = OpenRegularFile(target, O_WRONLY);
        if (!inPlace || !WriteAt(inPlace.get(), 0, bytes) ||
            Retry([&] { return ::ftruncate(inPlace.get(), static_cast<off_t>(bytes.size())); }) != 0 ||
            !SyncFile(inPlace.get()))
            return false;
        ::unlink(temp.c_str());
        return true;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    return SyncFolder(target.parent_path());
}

fs::path TemporaryPath(const fs::path& target, std::uint64_t number) {
    // The name is cut so that the whole stays within the usual 255-byte
    // limit.
    const std::string name = target.filename().string().substr(0, 200);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits(kHexDigits, '0');
    for (char& c : digits) {
        c = kHex[number & 0xF];
        number >>= 4;
    }
    return target.parent_path() / ("." + name + "." + digits + std::string(kPartSuffix));
}

bool IsTemporaryName(std::string_view name) {
    // "." + at least one character + "." + 16 hex digits + ".part"
    if (name.size() < 1 + 1 + 1 + kHexDigits + kPartSuffix.size() || name.front() != '.' ||
        !name.ends_with(kPartSuffix))
        return false;
    name.remove_suffix(kPartSuffix.size());
    const std::string_view digits = name.substr(name.size() - kHexDigits);
    if (name[name.size() - kHexDigits - 1] != '.') return false;
    for (const char c : digits)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

void SetTemporaryNumberSource(TemporaryNumberSource source) { numberSource.store(source); }

}  // namespace tl
