#include <iostream>

#include "chart/run.h"
#include "cli/chart_args.h"
#include "cli/chart_json.h"
#include "cli/commands.h"

namespace tl::cli {

int CmdChart(const Args& args) {
    std::string error;
    const auto options = ParseChartOptions(args, error);
    if (!options) {
        std::cerr << "tenglan-cli chart: " << error << "\n";
        return 2;
    }
    if (!options->json) {
        std::cerr << "tenglan-cli chart: the text report is not available yet; use --json\n";
        return 2;
    }
    const Chart chart = RunCalendar(options->request);
    JsonWriter w;
    w.BeginObject();
    w.Key("name").String(options->rawName);
    w.Key("birthplace").BeginObject()
        .Key("province").Int(options->request.provinceIndex)
        .Key("provinceItem").String(options->provinceItem)
        .Key("place").Int(options->request.placeIndex)
        .Key("placeItem").String(options->placeItem)
        .EndObject();
    w.Key("trueSolarTime").Bool(options->request.useTrueSolarTime);
    WriteChartMembers(w, chart);
    w.EndObject();
    std::cout << w.str() << "\n";
    return 0;
}

}  // namespace tl::cli
