#include "text/text_file.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "text/gbk.h"

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

}  // namespace

std::optional<std::string> ReadGbkTextFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const auto length = FileLength(path);
    if (!length || *length > kMaxTextFileBytes) return std::nullopt;
    File f = Open(path, "rb");
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        bytes.append(buf, got);
        if (bytes.size() > kMaxTextFileBytes) return std::nullopt;
    }
    if (std::ferror(f.get())) return std::nullopt;
    return GbkToUtf8(bytes);
}

bool WriteGbkTextFile(const fs::path& path, std::string_view utf8) {
    const std::string gbk = Utf8ToGbk(utf8);
    fs::path temp = path;
    temp += ".part";
    File f = Open(temp, "wb");
    if (!f) return false;
    const bool written = std::fwrite(gbk.data(), 1, gbk.size(), f.get()) == gbk.size();
    std::error_code ec;
    if (!CloseWritten(std::move(f)) || !written) {
        fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace tl
