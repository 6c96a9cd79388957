// `places`: the province list with the numbers `chart --province` takes, or
// one province's places with the numbers `--place` takes and the longitude
// correction of each in minutes.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/output.h"
#include "place/gazetteer.h"
#include "place/true_solar_time.h"

namespace tl::cli {

namespace {

std::string Minutes(float m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(m));
    return buf;
}

}  // namespace

int CmdPlaces(std::optional<int> province) {
    std::string out;
    if (!province) {
        for (int p = 0; p < kProvinceCount; ++p) out += std::to_string(p) + "\t" + std::string(ProvinceItem(p)) + "\n";
    } else {
        for (int q = 1; q <= PlaceCount(*province); ++q) {
            out += std::to_string(q) + "\t" + std::string(PlaceItem(*province, q)) + "\t" +
                   Minutes(PlaceCorrection(*province, q)) + "\n";
        }
    }
    return WriteOutput(out) ? 0 : OutputFailed("places");
}

}  // namespace tl::cli
