#include "place/daylight_saving.h"

#include "place/zone_clock.h"

namespace tl {

bool DaylightSavingZoneLoaded() { return ZoneKnown(kBeijingZone); }

DaylightSaving DaylightSavingAt(const Date& date, TimeOfDay time) {
    const auto clock = ReadClock(kBeijingZone, date, time);
    if (!clock || !clock->daylightSaving) return {};
    return {true, clock->DaylightSavingSeconds() / 60};
}

}  // namespace tl
