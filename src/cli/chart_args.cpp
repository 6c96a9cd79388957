#include "cli/chart_args.h"

#include <charconv>

#include "text/utf8.h"
#include "place/gazetteer.h"

namespace tl::cli {

std::optional<int> ParseIntInRange(const std::string& s, int lo, int hi) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s[0] == '-' || s[0] == '+') return std::nullopt;
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

namespace {

// Splits "a<sep>b<sep>c" into exactly n parts.
std::optional<std::vector<std::string>> SplitExact(const std::string& s, char sep, std::size_t n) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    if (parts.size() != n) return std::nullopt;
    return parts;
}

}  // namespace

std::optional<ChartOptions> ParseChartOptions(const Args& args, std::string& error) {
    ChartOptions o;
    bool haveDate = false;
    bool haveTime = false;
    bool leap = false;
    std::optional<std::string> placeText;
    auto fail = [&](const std::string& msg) {
        error = msg;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--date") {
            const std::string* v = value();
            if (!v) return fail("--date needs a value YYYY-MM-DD");
            const auto parts = SplitExact(*v, '-', 3);
            if (!parts) return fail("--date must be YYYY-MM-DD, got '" + *v + "'");
            const auto y = ParseIntInRange((*parts)[0], 1900, 2020);
            const auto m = ParseIntInRange((*parts)[1], 1, 12);
            const auto d = ParseIntInRange((*parts)[2], 1, 31);
            if (!y) return fail("--date: year must be 1900..2020, got '" + (*parts)[0] + "'");
            if (!m) return fail("--date: month must be 1..12, got '" + (*parts)[1] + "'");
            if (!d) return fail("--date: day must be 1..31, got '" + (*parts)[2] + "'");
            o.request.year = *y;
            o.request.month = *m;
            o.request.day = *d;
            haveDate = true;
        } else if (a == "--time") {
            const std::string* v = value();
            if (!v) return fail("--time needs a value HH:MM");
            const auto parts = SplitExact(*v, ':', 2);
            if (!parts) return fail("--time must be HH:MM, got '" + *v + "'");
            const auto h = ParseIntInRange((*parts)[0], 0, 23);
            const auto m = ParseIntInRange((*parts)[1], 0, 59);
            if (!h) return fail("--time: hour must be 0..23, got '" + (*parts)[0] + "'");
            if (!m) return fail("--time: minute must be 0..59, got '" + (*parts)[1] + "'");
            o.request.hour = *h;
            o.request.minute = *m;
            haveTime = true;
        } else if (a == "--female") {
            o.request.isMale = false;
        } else if (a == "--male") {
            o.request.isMale = true;
        } else if (a == "--lunar") {
            o.request.isSolarInput = false;
        } else if (a == "--leap") {
            leap = true;
        } else if (a == "--true-solar") {
            o.request.useTrueSolarTime = true;
        } else if (a == "--province") {
            const std::string* v = value();
            if (!v) return fail("--province needs a value 0.." + std::to_string(kProvinceCount - 1));
            const auto p = ParseIntInRange(*v, 0, kProvinceCount - 1);
            if (!p) return fail("--province must be 0.." + std::to_string(kProvinceCount - 1) + ", got '" + *v + "'");
            o.request.provinceIndex = *p;
        } else if (a == "--place") {
            const std::string* v = value();
            if (!v) return fail("--place needs a value");
            placeText = *v;
        } else if (a == "--name") {
            const std::string* v = value();
            if (!v) return fail("--name needs a value");
            o.rawName = *v;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--gbk") {
            o.gbk = true;
        } else {
            return fail("unknown option '" + a + "'");
        }
    }
    if (!haveDate) return fail("--date is required");
    if (!haveTime) return fail("--time is required");
    if (leap && o.request.isSolarInput) return fail("--leap needs --lunar");
    // The place is a position in the chosen province's list.
    const int province = o.request.provinceIndex;
    if (placeText) {
        const auto q = ParseIntInRange(*placeText, 1, PlaceCount(province));
        if (!q) {
            return fail("--place must be 1.." + std::to_string(PlaceCount(province)) + " for province " +
                        std::to_string(province) + " (" + std::string(ProvinceItem(province)) + "), got '" +
                        *placeText + "'");
        }
        o.request.placeIndex = *q;
    }
    o.request.isLeapMonth = leap;
    o.request.personName = Trim(o.rawName);
    return o;
}

}  // namespace tl::cli
