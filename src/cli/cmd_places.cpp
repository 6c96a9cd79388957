// `places`: the province list with the numbers `chart --province` takes, or
// one province's places with the numbers `--place` takes and the longitude
// correction of each in minutes.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/chart_args.h"
#include "cli/commands.h"
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

int CmdPlaces(const Args& args) {
    if (args.empty()) {
        for (int p = 0; p < kProvinceCount; ++p) std::cout << p << "\t" << ProvinceItem(p) << "\n";
        return 0;
    }
    if (args.size() > 1) {
        std::cerr << "tenglan-cli places: takes at most one PROVINCE, got " << args.size() << " arguments\n";
        return 2;
    }
    const auto province = ParseIntInRange(args[0], 0, kProvinceCount - 1);
    if (!province) {
        std::cerr << "tenglan-cli places: PROVINCE must be 0.." << kProvinceCount - 1 << ", got '" << args[0]
                  << "'\n";
        return 2;
    }
    std::string out;
    for (int q = 1; q <= PlaceCount(*province); ++q) {
        out += std::to_string(q) + "\t" + std::string(PlaceItem(*province, q)) + "\t" +
               Minutes(PlaceCorrection(*province, q)) + "\n";
    }
    std::cout << out;
    return 0;
}

}  // namespace tl::cli
