// The zone files of the system's time-zone database, from which the
// program reads daylight saving time and the offsets of a birthplace's
// clock (see place/zone_clock.h). The database is the folder named by the
// environment variable TZDIR, as the C library has it, else
// /usr/share/zoneinfo. A zone file is read as a regular file of bounded size
// and checked whole before it is used: a damaged, missing or strange file (a
// named pipe, a folder) makes the zone unknown, never a crash or a hang.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/types.h"

namespace tl {

struct DaylightSaving {
    bool inEffect = false;
    int minutes = 0;    // how far the clocks were ahead, 0 when not in effect
    bool known = true;  // false when the zone could not be loaded

    friend bool operator==(const DaylightSaving&, const DaylightSaving&) = default;
};

// A zone's rules as its TZif file (RFC 8536) holds them: the moments the
// clocks changed and the local time type from each on.
struct ZoneRules {
    struct LocalType {
        std::int32_t offset = 0;  // seconds ahead of UTC
        bool dst = false;
        std::string abbreviation;  // e.g. "CST"; "LMT" for local mean time
    };
    std::vector<std::int64_t> transitions;  // UTC seconds, ascending
    std::vector<std::uint8_t> typeAfter;    // the type index from each transition on
    std::vector<LocalType> types;           // types[0] before the first transition
    // The rule for times after the last transition has daylight saving
    // time of its own (the footer's TZ string), which is not followed here:
    // such times are unknown.
    bool ruleAfterHasDst = false;
};

// The rules of a TZif file's bytes; empty when they are no well-formed
// TZif file (every count checked against the length, every type index
// against the types).
std::optional<ZoneRules> ParseZoneFile(std::string_view bytes);

// The rules of zone `name` under the database folder `root`; empty, with
// `error` saying what is wrong and where, when the file is missing, no
// regular file, larger than any zone file or not well-formed.
std::optional<ZoneRules> LoadZone(const std::filesystem::path& root, std::string_view name, std::string& error);

// The database folder: $TZDIR when set and not empty, else
// /usr/share/zoneinfo.
std::filesystem::path ZoneDatabaseFolder();

}  // namespace tl
