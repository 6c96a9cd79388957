#include "cli/report_header.h"

#include "cli/json.h"
#include "place/gazetteer.h"

namespace tl::cli {

std::optional<ReportHeader> ReportHeaderFor(const ChartRequest& r, std::string_view rawName) {
    if (r.provinceIndex < 0 || r.provinceIndex >= kProvinceCount) return std::nullopt;
    if (r.placeIndex < 1 || r.placeIndex > PlaceCount(r.provinceIndex)) return std::nullopt;
    ReportHeader h;
    h.name = std::string(rawName);
    h.provinceItem = ProvinceItem(r.provinceIndex);
    h.placeItem = PlaceItem(r.provinceIndex, r.placeIndex);
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
