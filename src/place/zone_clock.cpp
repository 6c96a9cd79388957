#include "place/zone_clock.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <mutex>
#include <string>

#include <date/tz.h>

#include "calendar/civil.h"

namespace tl {

namespace {

using std::chrono::seconds;

// Zones by name, each located in the database once; a name the database
// does not hold is remembered as null. The provinces' few zones are found
// on the first call of each and then read without a search of the database.
const date::time_zone* Locate(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, const date::time_zone*, std::less<>> zones;
    std::lock_guard lock(mutex);
    if (const auto it = zones.find(name); it != zones.end()) return it->second;
    const date::time_zone* zone = nullptr;
    try {
        zone = date::locate_zone(name);
    } catch (const std::exception&) {
        zone = nullptr;
    }
    zones.emplace(std::string(name), zone);
    return zone;
}

// The last zone asked for, per thread: a run of births in one zone finds it
// without a lock.
const date::time_zone* Cached(std::string_view name) {
    thread_local std::string lastName;
    thread_local const date::time_zone* lastZone = nullptr;
    if (lastZone != nullptr && name == lastName) return lastZone;
    const date::time_zone* zone = Locate(name);
    if (zone != nullptr) {
        lastName.assign(name);
        lastZone = zone;
    }
    return zone;
}

int Seconds(seconds s) { return static_cast<int>(s.count()); }

// The standard offset at a period: its own offset when it is no daylight
// saving time, else that of the latest period before it that is not.
int StandardOffset(const date::time_zone& zone, date::sys_info info) {
    for (int steps = 0; info.save != std::chrono::minutes{0} && steps < 64; ++steps) {
        const date::sys_info earlier = zone.get_info(info.begin - seconds{1});
        if (earlier.begin >= info.begin) break;  // the database's first period
        info = earlier;
    }
    return Seconds(info.offset);
}

ClockReading ReadingOf(const date::time_zone& zone, const date::sys_info& info) {
    ClockReading r;
    r.zone = zone.name();
    r.utcOffsetSeconds = Seconds(info.offset);
    r.daylightSaving = info.save != std::chrono::minutes{0};
    r.standardOffsetSeconds = r.daylightSaving ? StandardOffset(zone, info) : r.utcOffsetSeconds;
    r.localMeanTime = info.abbrev == "LMT";
    return r;
}

}  // namespace

std::optional<ClockReading> ReadClock(std::string_view name, const Date& date, TimeOfDay time) {
    const date::time_zone* zone = Cached(name);
    if (zone == nullptr || date.month < 1 || date.month > 12) return std::nullopt;
    const Date d = NormalizeDate(date);
    const date::local_seconds when =
        date::local_days{date::year{d.year} / d.month / d.day} + seconds{time.seconds};
    try {
        const date::local_info info = zone->get_info(when);
        // Twice or never: the larger offset of the two periods.
        const bool second = info.result != date::local_info::unique && info.second.offset > info.first.offset;
        return ReadingOf(*zone, second ? info.second : info.first);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool ZoneKnown(std::string_view name) { return !name.empty() && Locate(name) != nullptr; }

const std::vector<std::string_view>& ZoneNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> list;
        try {
            const date::tzdb& db = date::get_tzdb();
            // The system's database lists its links as zones of their own,
            // and may hold the "posix" and "right" copies of the tree.
            for (const date::time_zone& z : db.zones) {
                const std::string_view n = z.name();
                if (!n.starts_with("posix") && !n.starts_with("right/") && n != "localtime") list.push_back(n);
            }
        } catch (const std::exception&) {
            list.clear();
        }
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        return list;
    }();
    return names;
}

}  // namespace tl
