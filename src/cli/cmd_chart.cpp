#include <cstdio>
#include <iostream>

#include "text/gbk.h"
#include "chart/report.h"
#include "chart/run.h"
#include "text/utf8.h"
#include "cli/chart_args.h"
#include "cli/chart_json.h"
#include "cli/commands.h"

namespace tl::cli {

// One chart: the report exactly as the report box holds it (CR LF line
// ends, no line end added; UTF-8, or GBK with --gbk as a saved file holds
// it), or with --json the chart, the report text and its red passages.
int CmdChart(const Args& args) {
    std::string error;
    const auto options = ParseChartOptions(args, error);
    if (!options) {
        std::cerr << "tenglan-cli chart: " << error << "\n";
        return 2;
    }
    if (!IsValidUtf8(options->rawName)) {
        std::cerr << "tenglan-cli chart: --name is not valid UTF-8\n";
        return 2;
    }
    const ReportHeader header = ReportHeaderOf(options->request, options->rawName);
    const Chart chart = RunCalendar(options->request);
    const Report report = BuildReport(chart, header);
    if (options->json) {
        JsonWriter w;
        w.BeginObject();
        w.Key("name").String(options->rawName);
        w.Key("birthplace").BeginObject()
            .Key("province").Int(options->request.provinceIndex)
            .Key("provinceItem").String(header.provinceItem)
            .Key("place").Int(options->request.placeIndex)
            .Key("placeItem").String(header.placeItem)
            .EndObject();
        w.Key("trueSolarTime").Bool(options->request.useTrueSolarTime);
        WriteChartMembers(w, chart);
        WriteReportMembers(w, report);
        w.EndObject();
        std::cout << w.str() << "\n";
        return std::cout ? 0 : 1;
    }
    const std::string bytes = options->gbk ? Utf8ToGbk(report.text) : report.text;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        std::cerr << "tenglan-cli chart: cannot write the report\n";
        return 1;
    }
    return 0;
}

}  // namespace tl::cli
