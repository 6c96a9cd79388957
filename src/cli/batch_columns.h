// The columns of a `batch` CSV file, named once for the reader, its error
// messages, the usage text and the help.
#pragma once

#include <string>
#include <string_view>

namespace tl::cli {

enum BatchColumn {
    kName, kSex, kCalendar, kDate, kTime, kLeap, kProvince, kPlace, kTrueSolar, kZi, kDst,
    kCountry, kCity, kRegion, kZone, kLongitude, kLatitude, kColumnCount
};

struct BatchColumnInfo {
    std::string_view name;
    std::string_view values;  // what a cell holds, where the name does not say
};

inline constexpr BatchColumnInfo kBatchColumns[kColumnCount] = {
    {"name", ""},     {"sex", ""},      {"calendar", ""},        {"date", ""},
    {"time", ""},     {"leap", ""},     {"province", ""},        {"place", ""},
    {"truesolar", ""}, {"zi", "23 or 0"}, {"dst", "0 or 1"},
    {"country", ""},  {"city", ""},     {"region", ""},
    {"zone", ""},     {"longitude", ""}, {"latitude", ""},
};

// "name, sex, ..., dst"; with `values`, each column whose values need
// saying is followed by them in parentheses: "zi (23 or 0)".
inline std::string BatchColumnList(bool values) {
    std::string list;
    for (const BatchColumnInfo& c : kBatchColumns) {
        if (!list.empty()) list += ", ";
        list += c.name;
        if (values && !c.values.empty()) {
            list += " (";
            list += c.values;
            list += ')';
        }
    }
    return list;
}

}  // namespace tl::cli
