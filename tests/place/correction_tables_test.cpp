// The two correction tables against the data they are generated from: every
// cell the source file gives, except the cells the program has always
// printed, which keep their printed values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "place/gazetteer.h"
#include "place/true_solar_time.h"

namespace tl {
namespace {

// A CSV file of the repository's data folder, by its path inside it.
std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(TENGLAN_DATA_DIR) + "/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (char ch : line) {
            if (ch == '"') quoted = !quoted;
            else if (ch == ',' && !quoted) fields.emplace_back();
            else fields.back() += ch;
        }
        rows.push_back(fields);
    }
    return rows;
}

// A decimal text as an integer count of 10^-places, exactly.
std::optional<long> DecimalUnits(const std::string& text, int places) {
    std::string s = text;
    long sign = 1;
    if (!s.empty() && s[0] == '-') {
        sign = -1;
        s.erase(0, 1);
    }
    const auto dot = s.find('.');
    const std::string whole = s.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    if (whole.empty() || static_cast<int>(frac.size()) > places) return std::nullopt;
    for (char ch : whole + frac)
        if (ch < '0' || ch > '9') return std::nullopt;
    frac.resize(places, '0');
    long scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    return sign * (std::stol(whole) * scale + (places ? std::stol(frac) : 0));
}

// Hundredths of a minute held by a single-precision cell.
long Hundredths(float minutes) { return std::lround(static_cast<double>(minutes) * 100.0); }

// The cells the program has always printed, in hundredths of a minute.
const std::map<std::pair<int, int>, long> kPrintedPlaceCells = {
    {{1, 1}, -1416},  {{1, 2}, -1160},    {{2, 1}, -2668},   {{6, 1}, 592},    {{30, 1}, -6376},
    {{31, 1}, -12928}, {{34, 1}, 76},     {{16, 36}, 5660},  {{31, 48}, -17928},
};

TEST(PlaceCorrectionTable, EveryCellIsFourMinutesPerDegreeEastOf120) {
    const auto rows = ReadCsv("places/place_lon.csv");
    ASSERT_EQ(rows.size(), 2265u) << "data/places/place_lon.csv missing or short";
    int checked = 0;
    int halves = 0;
    for (const auto& r : rows) {
        ASSERT_GE(r.size(), 5u);
        const int p = std::stoi(r[0]);
        const int q = std::stoi(r[1]);
        // The data file follows the lists name by name.
        EXPECT_EQ(PlaceItem(p, q), r[2]) << p << "," << q;
        const auto printed = kPrintedPlaceCells.find({p, q});
        if (printed != kPrintedPlaceCells.end()) {
            EXPECT_EQ(Hundredths(PlaceCorrection(p, q)), printed->second) << r[2];
            continue;
        }
        if (r[3].empty()) {
            EXPECT_EQ(PlaceCorrection(p, q), 0.0f) << p << "," << q << " " << r[2];
            continue;
        }
        const auto lon = DecimalUnits(r[3], 5);
        ASSERT_TRUE(lon) << r[3];
        // 4 × (lon − 120) minutes in units of 1e-5 minute, to hundredths with
        // halves away from zero.
        const long exact = 4 * (*lon - 120L * 100000);
        long expected = (std::labs(exact) + 500) / 1000;
        if (exact < 0) expected = -expected;
        if (std::labs(exact) % 1000 == 500) ++halves;
        EXPECT_EQ(Hundredths(PlaceCorrection(p, q)), expected) << p << "," << q << " " << r[2] << " " << r[3];
        // The cell is the single-precision number nearest to its hundredths.
        EXPECT_EQ(PlaceCorrection(p, q), static_cast<float>(expected / 100.0)) << p << "," << q;
        ++checked;
    }
    EXPECT_EQ(checked, 2265 - 9 - 1);  // every row but the printed cells and 四川
    EXPECT_GT(halves, 0);              // the data does reach exact halves
}

TEST(PlaceCorrectionTable, PrintedCells) {
    EXPECT_FLOAT_EQ(PlaceCorrection(1, 1), -14.16f);
    EXPECT_FLOAT_EQ(PlaceCorrection(1, 2), -11.60f);
    EXPECT_FLOAT_EQ(PlaceCorrection(2, 1), -26.68f);
    EXPECT_FLOAT_EQ(PlaceCorrection(6, 1), 5.92f);
    EXPECT_FLOAT_EQ(PlaceCorrection(30, 1), -63.76f);
    EXPECT_FLOAT_EQ(PlaceCorrection(31, 1), -129.28f);
    EXPECT_FLOAT_EQ(PlaceCorrection(34, 1), 0.76f);
    EXPECT_FLOAT_EQ(PlaceCorrection(16, 36), 56.60f);
    EXPECT_FLOAT_EQ(PlaceCorrection(31, 48), -179.28f);
}

TEST(PlaceCorrectionTable, RangeAndEmptyCells) {
    int values = 0;
    float lo = 0.0f, hi = 0.0f;
    std::pair<int, int> loAt, hiAt;
    for (int p = 1; p <= 34; ++p) {
        for (int q = 1; q <= kMaxPlaceCount; ++q) {
            const float c = PlaceCorrection(p, q);
            if (q > PlaceCount(p)) {
                EXPECT_EQ(c, 0.0f) << p << "," << q;
                continue;
            }
            EXPECT_GE(c, -179.28f) << p << "," << q;
            EXPECT_LE(c, 56.60f) << p << "," << q;
            if (!(p == 29 && q == 97)) ++values;
            if (c < lo) { lo = c; loAt = {p, q}; }
            if (c > hi) { hi = c; hiAt = {p, q}; }
        }
    }
    EXPECT_EQ(values, 2264);
    // 霞浦 lies on 120° east to within a few metres: a real 0.00.
    EXPECT_EQ(PlaceItem(9, 19), "霞浦");
    EXPECT_EQ(PlaceCorrection(9, 19), 0.0f);
    EXPECT_EQ(loAt, std::make_pair(31, 48));
    EXPECT_EQ(hiAt, std::make_pair(16, 36));
    // 四川 in the 陕西 list is no place.
    EXPECT_EQ(PlaceCorrection(29, 97), 0.0f);
}

TEST(PlaceCorrectionTable, OutsideTheTableGivesZero) {
    EXPECT_EQ(PlaceCorrection(0, 1), 0.0f);  // "不考虑"
    EXPECT_EQ(PlaceCorrection(35, 1), 0.0f);
    EXPECT_EQ(PlaceCorrection(-1, 1), 0.0f);
    EXPECT_EQ(PlaceCorrection(1, 0), 0.0f);
    EXPECT_EQ(PlaceCorrection(30, 174), 0.0f);
    EXPECT_NE(PlaceCorrection(30, 173), 0.0f);  // 木里, the last place of the longest list
}

TEST(EquationOfTimeTable, EveryRealDateFromTheData) {
    const std::map<std::pair<int, int>, long> printed = {
        {{1, 1}, -315}, {{2, 10}, -1425}, {{4, 15}, 45},   {{5, 14}, 368},  {{7, 26}, -643},
        {{9, 1}, 100},  {{11, 3}, 1642},  {{12, 24}, 38},  {{12, 31}, -305},
    };
    const auto rows = ReadCsv("astro/equation_of_time.csv");
    ASSERT_EQ(rows.size(), 366u) << "data/astro/equation_of_time.csv missing or short";
    for (const auto& r : rows) {
        ASSERT_EQ(r.size(), 3u);
        const int m = std::stoi(r[0]);
        const int d = std::stoi(r[1]);
        const auto it = printed.find({m, d});
        const auto data = DecimalUnits(r[2], 2);
        ASSERT_TRUE(data) << r[2];
        const long expected = it != printed.end() ? it->second : *data;
        EXPECT_EQ(Hundredths(EquationOfTime(m, d)), expected) << m << "-" << d;
        EXPECT_EQ(EquationOfTime(m, d), static_cast<float>(expected / 100.0)) << m << "-" << d;
    }
}

TEST(EquationOfTimeTable, PrintedCellsAndImpossibleDates) {
    EXPECT_FLOAT_EQ(EquationOfTime(1, 1), -3.15f);
    EXPECT_FLOAT_EQ(EquationOfTime(2, 10), -14.25f);
    EXPECT_FLOAT_EQ(EquationOfTime(4, 15), 0.45f);
    EXPECT_FLOAT_EQ(EquationOfTime(5, 14), 3.68f);
    EXPECT_FLOAT_EQ(EquationOfTime(7, 26), -6.43f);
    EXPECT_FLOAT_EQ(EquationOfTime(9, 1), 1.00f);
    EXPECT_FLOAT_EQ(EquationOfTime(11, 3), 16.42f);
    EXPECT_FLOAT_EQ(EquationOfTime(12, 24), 0.38f);
    EXPECT_FLOAT_EQ(EquationOfTime(12, 31), -3.05f);

    const std::pair<int, int> impossible[] = {{2, 30}, {2, 31}, {4, 31}, {6, 31}, {9, 31}, {11, 31}};
    for (const auto& [m, d] : impossible) EXPECT_EQ(EquationOfTime(m, d), 0.0f) << m << "-" << d;
    EXPECT_NE(EquationOfTime(2, 29), 0.0f);
    EXPECT_EQ(EquationOfTime(0, 1), 0.0f);
    EXPECT_EQ(EquationOfTime(13, 1), 0.0f);
    EXPECT_EQ(EquationOfTime(1, 0), 0.0f);
    EXPECT_EQ(EquationOfTime(1, 32), 0.0f);
    // The equation of time stays within about a quarter of an hour.
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            EXPECT_GE(EquationOfTime(m, d), -14.5f);
            EXPECT_LE(EquationOfTime(m, d), 16.5f);
        }
}

}  // namespace
}  // namespace tl
