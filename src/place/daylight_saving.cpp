#include "place/daylight_saving.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "files/file_io.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

// The largest zone files are a few kilobytes; anything far larger is none.
constexpr std::uintmax_t kMaxZoneFileBytes = 1u << 20;
constexpr std::size_t kHeaderSize = 44;

std::uint32_t Be32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::int64_t Be64(std::string_view b, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < 8; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return static_cast<std::int64_t>(v);
}

struct Header {
    char version = 0;
    std::uint32_t isutcnt = 0, isstdcnt = 0, leapcnt = 0, timecnt = 0, typecnt = 0, charcnt = 0;
};

std::optional<Header> ReadHeader(std::string_view b, std::size_t at) {
    if (b.size() < at + kHeaderSize || b.substr(at, 4) != "TZif") return std::nullopt;
    Header h;
    h.version = b[at + 4];
    if (h.version != 0 && (h.version < '2' || h.version > '9')) return std::nullopt;
    h.isutcnt = Be32(b, at + 20);
    h.isstdcnt = Be32(b, at + 24);
    h.leapcnt = Be32(b, at + 28);
    h.timecnt = Be32(b, at + 32);
    h.typecnt = Be32(b, at + 36);
    h.charcnt = Be32(b, at + 40);
    // Counts no zone file has; they also keep the sizes below from
    // overflowing.
    if (h.typecnt == 0 || h.typecnt > 256 || h.timecnt > 100000 || h.leapcnt > 100000 || h.charcnt > 100000 ||
        (h.isutcnt != 0 && h.isutcnt != h.typecnt) || (h.isstdcnt != 0 && h.isstdcnt != h.typecnt))
        return std::nullopt;
    return h;
}

std::size_t BlockSize(const Header& h, std::size_t timeSize) {
    return std::size_t{h.timecnt} * timeSize + h.timecnt + std::size_t{h.typecnt} * 6 + h.charcnt +
           std::size_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt;
}

}  // namespace

std::optional<ZoneRules> ParseZoneFile(std::string_view b) {
    auto h = ReadHeader(b, 0);
    if (!h) return std::nullopt;
    std::size_t at = kHeaderSize;
    std::size_t timeSize = 4;
    if (h->version != 0) {
        // Version 2 and later: the 32-bit block is followed by a second
        // header and the same data with 64-bit times, which is what counts.
        at += BlockSize(*h, 4);
        h = ReadHeader(b, at);
        if (!h) return std::nullopt;
        at += kHeaderSize;
        timeSize = 8;
    }
    if (b.size() < at + BlockSize(*h, timeSize)) return std::nullopt;
    ZoneRules z;
    for (std::uint32_t i = 0; i < h->timecnt; ++i, at += timeSize) {
        const std::int64_t t = timeSize == 8 ? Be64(b, at) : static_cast<std::int32_t>(Be32(b, at));
        if (!z.transitions.empty() && t <= z.transitions.back()) return std::nullopt;
        z.transitions.push_back(t);
    }
    for (std::uint32_t i = 0; i < h->timecnt; ++i, ++at) {
        const auto index = static_cast<unsigned char>(b[at]);
        if (index >= h->typecnt) return std::nullopt;
        z.typeAfter.push_back(index);
    }
    std::vector<unsigned char> abbreviationAt;
    for (std::uint32_t i = 0; i < h->typecnt; ++i, at += 6) {
        const auto offset = static_cast<std::int32_t>(Be32(b, at));
        const auto dst = static_cast<unsigned char>(b[at + 4]);
        const auto index = static_cast<unsigned char>(b[at + 5]);
        if (dst > 1 || offset <= -25 * 3600 || offset >= 26 * 3600 || index >= h->charcnt) return std::nullopt;
        z.types.push_back({offset, dst == 1, {}});
        abbreviationAt.push_back(index);
    }
    // The abbreviations: strings ending in a NUL within the block.
    const std::string_view chars = b.substr(at, h->charcnt);
    for (std::size_t i = 0; i < z.types.size(); ++i) {
        const std::size_t end = chars.find('\0', abbreviationAt[i]);
        if (end == std::string_view::npos) return std::nullopt;
        z.types[i].abbreviation = std::string(chars.substr(abbreviationAt[i], end - abbreviationAt[i]));
    }
    at += h->charcnt + std::size_t{h->leapcnt} * (timeSize + 4) + h->isstdcnt + h->isutcnt;
    if (timeSize == 8 && at < b.size()) {
        // The footer: a TZ string between two line ends for the times after
        // the last transition. A rule with daylight saving time has a comma.
        const std::string_view footer = b.substr(at);
        if (footer.front() != '\n') return std::nullopt;
        const std::size_t end = footer.find('\n', 1);
        if (end == std::string_view::npos) return std::nullopt;
        z.ruleAfterHasDst = footer.substr(1, end - 1).find(',') != std::string_view::npos;
    }
    return z;
}

std::optional<ZoneRules> LoadZone(const fs::path& root, std::string_view name, std::string& error) {
    const fs::path file = root / name;
    errno = 0;
    const std::optional<std::string> bytes = ReadRegularFile(file, kMaxZoneFileBytes);
    if (!bytes) {
        const int e = errno;
        error = file.string() + ": " +
                (e == EINVAL ? std::string("not a regular file")
                 : e == 0    ? std::string("larger than a time-zone file")
                             : std::string(std::strerror(e)));
        return std::nullopt;
    }
    auto rules = ParseZoneFile(*bytes);
    if (!rules) error = file.string() + ": not a valid time-zone file";
    return rules;
}

fs::path ZoneDatabaseFolder() {
    const char* dir = std::getenv("TZDIR");
    return dir != nullptr && *dir != '\0' ? fs::path(dir) : fs::path("/usr/share/zoneinfo");
}

}  // namespace tl
