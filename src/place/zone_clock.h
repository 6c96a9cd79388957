// Reading a clock through a zone of the system's time-zone database: the
// offset from UTC a clock kept at a given local date and time, the zone's
// standard offset then, and whether the time was daylight saving time or
// the local mean time the database holds before a zone's first standard
// time. Every zone is loaded from the database once, through the validated
// reader of place/daylight_saving.h, and kept: a zone file that is missing
// or damaged is remembered with what is wrong with it, never a crash.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/types.h"

namespace tl {
struct ZoneRules;
}

namespace tl {

// The zone of China Standard Time, UTC+8, in which the program's tables
// are kept.
inline constexpr std::string_view kBeijingZone = "Asia/Shanghai";
inline constexpr int kBeijingOffsetSeconds = 8 * 3600;

struct ClockReading {
    std::string_view zone;           // the zone's name, stable for the program's life
    int utcOffsetSeconds = 0;        // local clock minus UTC
    int standardOffsetSeconds = 0;   // the zone's standard offset then
    bool daylightSaving = false;     // the database flags the time as daylight saving time
    bool localMeanTime = false;      // the database holds "LMT" for the time
    // False for a time after the zone file's last transition when the rule
    // that goes on from there has daylight saving time of its own: the
    // reading is then the zone's standard time, daylight saving unknown.
    bool daylightSavingKnown = true;

    // Seconds the clock was ahead of the zone's standard time.
    int DaylightSavingSeconds() const { return utcOffsetSeconds - standardOffsetSeconds; }

    friend bool operator==(const ClockReading&, const ClockReading&) = default;
};

// The reading of a local date and time in zone `zone`. The standard offset
// is that of the latest moment at or before it that is not daylight saving
// time. A clock time that happened twice (the clocks went back) or never
// (they went forward) reads with the larger of the two offsets. A date past
// the end of its month counts into the next. Empty for a zone the database
// does not hold (or no database at all).
std::optional<ClockReading> ReadClock(std::string_view zone, const Date& date, TimeOfDay time);

// The same under a zone's rules as read from its file (`zone` left empty).
std::optional<ClockReading> ReadClockIn(const ZoneRules& rules, const Date& date, TimeOfDay time);

// Whether the database holds a zone of that name, readable and well-formed.
bool ZoneKnown(std::string_view zone);

// The rules of zone `zone`, loaded at the first call for it; null when the
// zone cannot be loaded.
const ZoneRules* LoadedZone(std::string_view zone);

// Why zone `zone` cannot be loaded (the file and the reason); empty when it
// can.
std::string ZoneProblem(std::string_view zone);

// The names of the database's zones (links included), sorted: the regular
// files under the database folder that begin as zone files, without the
// "posix" and "right" copies of the tree; empty without a database.
const std::vector<std::string_view>& ZoneNames();

}  // namespace tl
