#include <string>

#include "report/report.h"
#include "chart/run.h"
#include "cli/chart_json.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "text/gbk.h"
#include "text/utf8.h"

namespace tl::cli {

// One chart: the report exactly as the report box holds it (CR LF line
// ends, no line end added; UTF-8, or GBK with --gbk as a saved file holds
// it), or with --json the chart, its analysis, the report text and its red
// passages.
int CmdChart(const ChartOptions& options) {
    if (!IsValidUtf8(options.rawName)) return Complain("chart", "--name is not valid UTF-8", 2);
    const ReportHeader header = ReportHeaderOf(options.request, options.rawName);
    const Chart chart = RunCalendar(options.request);
    const NatalTable natal = NatalTableOf(chart);
    const LuckTimeline luck = LuckTimelineOf(chart);
    const Report report = BuildReport(chart, natal, luck, header);
    if (options.json) {
        JsonWriter w;
        w.BeginObject();
        w.Key("name").String(options.rawName);
        WriteBirthplaceMember(w, options.request, header);
        w.Key("trueSolarTime").Bool(options.request.useTrueSolarTime);
        WriteChartMembers(w, chart);
        WriteAnalysisMembers(w, chart, natal, luck);
        WriteReportMembers(w, report);
        w.EndObject();
        return WriteOutput(w.str() + "\n") ? 0 : OutputFailed("chart");
    }
    const std::string bytes = options.gbk ? Utf8ToGbk(report.text) : report.text;
    return WriteOutput(bytes) ? 0 : OutputFailed("chart", "the report");
}

}  // namespace tl::cli
