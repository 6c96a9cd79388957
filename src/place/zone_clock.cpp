#include "place/zone_clock.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>

#include "calendar/civil.h"
#include "place/daylight_saving.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

struct LoadedRules {
    std::string name;
    std::optional<ZoneRules> rules;
    std::string problem;
};

// Zones by name, each loaded from the database once; a zone that cannot be
// loaded is remembered with its problem. The entries never move, so the
// names and rules handed out stay valid for the program's life.
const LoadedRules& Load(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<LoadedRules>, std::less<>> zones;
    std::lock_guard lock(mutex);
    if (const auto it = zones.find(name); it != zones.end()) return *it->second;
    auto entry = std::make_unique<LoadedRules>();
    entry->name = std::string(name);
    // A name is a path below the database folder, never one out of it.
    const bool plain = !name.empty() && name.front() != '/' && name.find("..") == std::string_view::npos &&
                       name.find('\0') == std::string_view::npos;
    if (plain)
        entry->rules = LoadZone(ZoneDatabaseFolder(), name, entry->problem);
    else
        entry->problem = std::string(name) + ": not a zone name";
    return *zones.emplace(std::string(name), std::move(entry)).first->second;
}

// The last zone asked for, per thread: a run of births in one zone finds it
// without a lock.
const LoadedRules& Cached(std::string_view name) {
    thread_local std::string lastName;
    thread_local const LoadedRules* last = nullptr;
    if (last != nullptr && name == lastName) return *last;
    const LoadedRules& zone = Load(name);
    lastName.assign(name);
    last = &zone;
    return zone;
}

const ZoneRules::LocalType& TypeOf(const ZoneRules& z, std::size_t period) {
    return z.types[period == 0 ? 0 : z.typeAfter[period - 1]];
}

// The standard offset at a period: its own offset when it is no daylight
// saving time, else that of the latest period before it that is not (the
// period's own when there is none).
int StandardOffset(const ZoneRules& z, std::size_t period) {
    for (std::size_t p = period + 1; p-- > 0;)
        if (!TypeOf(z, p).dst) return TypeOf(z, p).offset;
    return TypeOf(z, period).offset;
}

// Local seconds counted from 1970-01-01 00:00 as if it were UTC.
std::int64_t LocalSeconds(const Date& date, TimeOfDay time) {
    constexpr long kDayNumberOf1970 = 25567;  // days from 1900-01-01
    return std::int64_t{DayNumber(date) - kDayNumberOf1970} * 86400 + time.seconds;
}

}  // namespace

const ZoneRules* LoadedZone(std::string_view name) {
    const LoadedRules& zone = Cached(name);
    return zone.rules ? &*zone.rules : nullptr;
}

std::string ZoneProblem(std::string_view name) { return Cached(name).problem; }

bool ZoneKnown(std::string_view name) { return LoadedZone(name) != nullptr; }

std::optional<ClockReading> ReadClock(std::string_view name, const Date& date, TimeOfDay time) {
    const LoadedRules& zone = Cached(name);
    if (!zone.rules) return std::nullopt;
    std::optional<ClockReading> r = ReadClockIn(*zone.rules, date, time);
    if (r) r->zone = zone.name;
    return r;
}

std::optional<ClockReading> ReadClockIn(const ZoneRules& z, const Date& date, TimeOfDay time) {
    if (date.month < 1 || date.month > 12) return std::nullopt;
    const std::int64_t local = LocalSeconds(NormalizeDate(date), time);
    const std::size_t periods = z.transitions.size() + 1;
    // The period the local time falls in under its own offset; twice (the
    // clocks went back) or never (they went forward): the larger offset of
    // the periods on either side of the change.
    std::optional<std::size_t> chosen;
    for (std::size_t p = 0; p < periods; ++p) {
        const std::int64_t utc = local - TypeOf(z, p).offset;
        const bool after = p == 0 || utc >= z.transitions[p - 1];
        const bool before = p == periods - 1 || utc < z.transitions[p];
        if (after && before && (!chosen || TypeOf(z, p).offset > TypeOf(z, *chosen).offset)) chosen = p;
    }
    if (!chosen) {
        for (std::size_t p = 1; p < periods; ++p) {
            const std::int64_t change = z.transitions[p - 1];
            if (local >= change + TypeOf(z, p - 1).offset && local < change + TypeOf(z, p).offset) {
                chosen = p;
                break;
            }
        }
    }
    if (!chosen) return std::nullopt;
    const ZoneRules::LocalType& type = TypeOf(z, *chosen);
    ClockReading r;
    r.utcOffsetSeconds = type.offset;
    r.daylightSaving = type.dst;
    r.standardOffsetSeconds = type.dst ? StandardOffset(z, *chosen) : type.offset;
    r.localMeanTime = type.abbreviation == "LMT";
    if (z.ruleAfterHasDst && *chosen == periods - 1) {
        r.utcOffsetSeconds = r.standardOffsetSeconds;
        r.daylightSaving = false;
        r.daylightSavingKnown = false;
    }
    return r;
}

const std::vector<std::string_view>& ZoneNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        const fs::path root = ZoneDatabaseFolder();
        std::error_code ec;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const fs::path relative = it->path().lexically_relative(root);
            const std::string name = relative.generic_string();
            if (it.depth() == 0 && (name == "posix" || name == "right")) {
                it.disable_recursion_pending();
                continue;
            }
            std::error_code fileError;
            if (!it->is_regular_file(fileError) || name == "localtime" || name == "posixrules" ||
                name.find('.') != std::string::npos)
                continue;
            std::ifstream in(it->path(), std::ios::binary);
            char magic[4] = {};
            if (in.read(magic, 4) && std::string_view(magic, 4) == "TZif") list.push_back(name);
        }
        std::sort(list.begin(), list.end());
        return list;
    }();
    static const std::vector<std::string_view> views(names.begin(), names.end());
    return views;
}

}  // namespace tl
