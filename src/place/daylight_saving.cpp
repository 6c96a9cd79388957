#include "place/daylight_saving.h"

#include <chrono>
#include <exception>

#include <date/tz.h>

#include "calendar/civil.h"

namespace tl {

namespace {

const date::time_zone* China() {
    static const date::time_zone* const zone = []() -> const date::time_zone* {
        try {
            return date::locate_zone("Asia/Shanghai");
        } catch (const std::exception&) {
            return nullptr;
        }
    }();
    return zone;
}

// Minutes of a period's offset in daylight saving time beyond the standard
// offset of the period next to it.
int MinutesAhead(const date::sys_info& summer, const date::sys_info& standard) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(summer.offset - standard.offset).count());
}

}  // namespace

bool DaylightSavingZoneLoaded() { return China() != nullptr; }

DaylightSaving DaylightSavingAt(const Date& date, TimeOfDay time) {
    const date::time_zone* zone = China();
    if (!zone) return {};
    const Date d = NormalizeDate(date);
    const date::local_seconds when =
        date::local_days{date::year{d.year} / d.month / d.day} + std::chrono::seconds{time.seconds};
    const date::local_info info = zone->get_info(when);
    switch (info.result) {
        case date::local_info::unique:
            // Standard time around a period is China Standard Time, UTC+8.
            if (info.first.save == std::chrono::minutes{0}) return {};
            return {true, static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(
                                               info.first.offset - std::chrono::hours{8})
                                               .count())};
        case date::local_info::nonexistent:
            // The skipped hour: `first` before the clocks went forward.
            if (info.second.save == std::chrono::minutes{0}) return {};
            return {true, MinutesAhead(info.second, info.first)};
        case date::local_info::ambiguous:
            // The repeated hour: `first` before the clocks went back.
            if (info.first.save == std::chrono::minutes{0}) return {};
            return {true, MinutesAhead(info.first, info.second)};
    }
    return {};
}

}  // namespace tl
