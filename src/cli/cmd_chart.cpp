#include <string>

#include "report/html.h"
#include "report/markdown.h"
#include "report/report.h"
#include "chart/run.h"
#include "cli/chart_json.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "text/gbk.h"
#include "text/script.h"
#include "text/utf8.h"

namespace tl::cli {

// One chart: the report exactly as the report box holds it (CR LF line
// ends, no line end added; UTF-8, or GBK as a saved file holds it), the
// chart, its analysis, the report text and its red passages as JSON, the
// report as an HTML page, or the chart as Markdown; each in the script
// asked for (a traditional report keeps its columns and red passages).
int CmdChart(const ChartOptions& options) {
    if (!IsValidUtf8(options.rawName)) return Complain("chart", "--name is not valid UTF-8", 2);
    const ReportHeader header = ReportHeaderOf(options.request, options.rawName);
    const Chart chart = RunCalendar(options.request);
    WarnIfDaylightSavingUnknown("chart", chart);
    const NatalTable natal = NatalTableOf(chart);
    const LuckTimeline luck = LuckTimelineOf(chart);
    Report report = BuildReport(chart, natal, luck, header);
    const Script script = options.script;
    switch (options.format) {
        case ChartFormat::kJson: {
            JsonWriter w;
            w.BeginObject();
            w.Key("name").String(options.rawName);
            WriteBirthplaceMember(w, options.request, header);
            w.Key("trueSolarTime").Bool(options.request.useTrueSolarTime);
            WriteChartMembers(w, chart);
            WriteAnalysisMembers(w, chart, natal, luck);
            WriteReportMembers(w, report);
            w.EndObject();
            // Keys and numbers are ASCII and stay; the words, the name and
            // the report take the script (the red passages keep their
            // places, every line keeping its characters).
            return WriteOutput(ToScript(w.str(), script) + "\n") ? 0 : OutputFailed("chart");
        }
        case ChartFormat::kMarkdown:
            return WriteOutput(ToScript(ChartMarkdown(options.request, header, chart, natal, luck), script))
                       ? 0
                       : OutputFailed("chart", "the Markdown");
        case ChartFormat::kHtml: {
            report.text = ToScript(report.text, script);
            std::string title = "腾岚八字排盘 ";
            title += Trim(options.rawName);
            return WriteOutput(ReportHtml(report, ToScript(title, script), script)) ? 0
                                                                                    : OutputFailed("chart", "the page");
        }
        case ChartFormat::kGbk:
            return WriteOutput(Utf8ToGbk(ToScript(report.text, script))) ? 0 : OutputFailed("chart", "the report");
        case ChartFormat::kText:
            break;
    }
    return WriteOutput(ToScript(report.text, script)) ? 0 : OutputFailed("chart", "the report");
}

}  // namespace tl::cli
