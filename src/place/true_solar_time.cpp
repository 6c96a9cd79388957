#include "place/true_solar_time.h"

#include <array>
#include <cmath>

#include "calendar/civil.h"
#include "place/gazetteer.h"

namespace tl {

namespace {

#include "place/equation_of_time_data.inc"

struct PlaceCorrectionRow {
    short province;
    short place;
    int hundredths;  // hundredths of a minute
};

#include "place/place_correction_data.inc"

constexpr int kCorrectedProvinces = kProvinceCount - 1;  // 1..34; "不考虑" has none

// The correction table by province 1..34 and place 1..173 in single precision;
// cells without a place stay 0.
using PlaceCorrectionGrid = std::array<std::array<float, kMaxPlaceCount>, kCorrectedProvinces>;

constexpr PlaceCorrectionGrid BuildPlaceCorrectionTable() {
    PlaceCorrectionGrid t{};
    for (const auto& r : kPlaceCorrectionRows)
        t[r.province - 1][r.place - 1] = static_cast<float>(r.hundredths) / 100.0f;
    return t;
}

constexpr PlaceCorrectionGrid PlaceCorrectionTable = BuildPlaceCorrectionTable();

// One row for every place of provinces 1..34, each in range and in list order.
constexpr bool RowsFollowTheLists() {
    int expectedProvince = 1;
    int expectedPlace = 1;
    for (const auto& r : kPlaceCorrectionRows) {
        if (r.province == expectedProvince + 1 && r.place == 1) {
            ++expectedProvince;
            expectedPlace = 1;
        }
        if (r.province != expectedProvince || r.place != expectedPlace) return false;
        if (r.place > kMaxPlaceCount) return false;
        ++expectedPlace;
    }
    return expectedProvince == kCorrectedProvinces;
}
static_assert(RowsFollowTheLists());
static_assert(std::size(kPlaceCorrectionRows) == 2265);

// Every impossible date holds 0.
constexpr bool ImpossibleDatesAreZero() {
    constexpr int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 0; m < 12; ++m)
        for (int d = days[m]; d < 31; ++d)
            if (kEquationOfTimeHundredths[m][d] != 0) return false;
    return true;
}
static_assert(ImpossibleDatesAreZero());

constexpr int kSecondsPerDay = 86400;

}  // namespace

float EquationOfTime(int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return 0.0f;
    return static_cast<float>(kEquationOfTimeHundredths[month - 1][day - 1]) / 100.0f;
}

float PlaceCorrection(int provinceIndex, int placeIndex) {
    if (provinceIndex < 1 || provinceIndex > kCorrectedProvinces || placeIndex < 1 || placeIndex > kMaxPlaceCount)
        return 0.0f;
    return PlaceCorrectionTable[provinceIndex - 1][placeIndex - 1];
}

SolarTimeResult TrueSolarTime(const Date& birth, TimeOfDay entered, int provinceIndex, int placeIndex) {
    const bool calendarMonth = birth.month >= 1 && birth.month <= 12;
    // 30 February is 2 March for the sun as for every other computation.
    const Date day = calendarMonth && birth.day >= 1 ? NormalizeDate(birth) : birth;

    int h = entered.hour();
    float m = static_cast<float>(entered.minute());
    m = static_cast<float>(m + EquationOfTime(day.month, day.day));
    m = static_cast<float>(m + PlaceCorrection(provinceIndex, placeIndex));

    // The fraction of a minute becomes seconds, halves to even; the minutes
    // are cut toward zero, so a negative total gives negative parts.
    const float whole = std::trunc(m);
    const float fraction = static_cast<float>(m - whole);
    const int s = static_cast<int>(std::nearbyint(static_cast<float>(fraction * 60.0f)));
    int mi = static_cast<int>(whole);

    // Whole hours move into the hour (−131 minutes are −2 hours −11 minutes).
    const int q = mi / 60;
    h += q;
    mi -= 60 * q;

    // Negative minutes or seconds borrow from the hour. Past 24:00 the birth
    // moves to the next day; before 00:00 to the previous evening.
    int total = h * 3600 + mi * 60 + s;
    int shift = 0;
    if (total >= kSecondsPerDay) {
        total -= kSecondsPerDay;
        shift = 1;
    } else if (total < 0) {
        total += kSecondsPerDay;
        shift = -1;
    }

    SolarTimeResult r;
    r.time = TimeOfDay{total};
    r.dayShift = shift;
    r.date = birth;
    if (shift != 0 && calendarMonth) r.date = DateOfDayNumber(DayNumber(birth) + shift);
    return r;
}

}  // namespace tl
