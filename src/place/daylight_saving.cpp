#include "place/daylight_saving.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "calendar/civil.h"
#include "files/file_io.h"
#include "place/zone_clock.h"

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

// The offset of the standard time next to period `i` (0 before the first
// transition): the closest period before it without daylight saving time,
// else the closest after it.
std::int32_t StandardOffsetNear(const ZoneRules& z, std::size_t i) {
    const auto typeOf = [&z](std::size_t p) { return z.types[p == 0 ? 0 : z.typeAfter[p - 1]]; };
    for (std::size_t p = i + 1; p-- > 0;)
        if (!typeOf(p).dst) return typeOf(p).offset;
    for (std::size_t p = i + 1; p <= z.transitions.size(); ++p)
        if (!typeOf(p).dst) return typeOf(p).offset;
    return typeOf(i).offset;
}

int Minutes(std::int64_t seconds) { return static_cast<int>(seconds / 60); }

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

DaylightSaving DaylightSavingIn(const ZoneRules& z, const Date& date, TimeOfDay time) {
    // Local seconds counted from 1970-01-01 00:00 as if it were UTC.
    constexpr long kDayNumberOf1970 = 25567;  // days from 1900-01-01
    const std::int64_t local = std::int64_t{DayNumber(date) - kDayNumberOf1970} * 86400 + time.seconds;
    const std::size_t periods = z.transitions.size() + 1;
    const auto typeOf = [&z](std::size_t p) { return z.types[p == 0 ? 0 : z.typeAfter[p - 1]]; };
    // The periods whose UTC span holds the local time under their offset.
    std::size_t found[2] = {0, 0};
    std::size_t count = 0;
    for (std::size_t p = 0; p < periods && count < 2; ++p) {
        const std::int64_t utc = local - typeOf(p).offset;
        if ((p == 0 || utc >= z.transitions[p - 1]) && (p == periods - 1 || utc < z.transitions[p]))
            found[count++] = p;
    }
    const auto last = periods - 1;
    if (count == 0) {
        // The skipped hour: the period that begins within it.
        for (std::size_t p = 1; p < periods; ++p) {
            const std::int64_t change = z.transitions[p - 1];
            if (local >= change + typeOf(p - 1).offset && local < change + typeOf(p).offset) {
                if (z.ruleAfterHasDst && p == last) return {false, 0, false};
                if (!typeOf(p).dst) return {};
                return {true, Minutes(typeOf(p).offset - typeOf(p - 1).offset)};
            }
        }
        return {};
    }
    if (z.ruleAfterHasDst && found[count - 1] == last) return {false, 0, false};
    if (count == 2) {
        // The repeated hour: the earlier period is the one before the clocks
        // went back.
        if (!typeOf(found[0]).dst) return {};
        return {true, Minutes(typeOf(found[0]).offset - typeOf(found[1]).offset)};
    }
    const ZoneRules::LocalType t = typeOf(found[0]);
    if (!t.dst) return {};
    return {true, Minutes(t.offset - StandardOffsetNear(z, found[0]))};
}

DaylightSaving DaylightSavingAt(const Date& date, TimeOfDay time) {
    const ZoneRules* rules = LoadedZone(kBeijingZone);
    if (rules == nullptr) return {false, 0, false};
    return DaylightSavingIn(*rules, date, time);
}

bool DaylightSavingZoneLoaded() { return LoadedZone(kBeijingZone) != nullptr; }

std::string DaylightSavingZoneProblem() { return ZoneProblem(kBeijingZone); }

}  // namespace tl
