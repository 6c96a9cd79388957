#include "cli/report_header.h"

#include "cli/json.h"

namespace tl::cli {

std::optional<ReportHeader> ReportHeaderFor(const ChartRequest& r, std::string_view rawName) {
    ReportHeader h;
    h.name = std::string(rawName);
    // The first entry of both lists is "不考虑" (birthplace not considered).
    if (r.provinceIndex != 0) return std::nullopt;
    h.provinceItem = "不考虑";
    h.placeItem = "不考虑";
    h.trueSolarTime = r.useTrueSolarTime;
    h.hourLabel = HourLabel(r.hour);
    return h;
}

void WriteReportMembers(JsonWriter& w, const Report& report) {
    w.Key("report").String(report.text);
    w.Key("red").BeginArray();
    for (const TextRange& range : report.red)
        w.BeginObject().Key("start").Int(range.start).Key("length").Int(range.length).EndObject();
    w.EndArray();
}

}  // namespace tl::cli
