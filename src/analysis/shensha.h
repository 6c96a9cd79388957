// Shensha (神煞): the symbolic stars a chart or one of its pillars carries,
// each a fixed lookup keyed on the natal chart.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "calendar/types.h"

namespace tl {

struct Chart;

// The stars a single pillar can carry, in the order they are tested and
// listed.
enum class Star : std::uint8_t {
    kTianYiGuiRen, kTianDeGuiRen, kYueDeGuiRen, kTaiJiGuiRen, kFuXingGuiRen, kWenChangGuiRen, kGuoYinGuiRen,
    kYiMaStar, kHuaGaiStar, kJiangXingStar, kJinYuStar, kLuShenStar, kTianYiStar, kYangRenStar, kWangShenStar,
    kJieShaStar, kZaiShaStar, kGuChenGuaSuStar, kXianChiStar, kKongWangStar,
};
inline constexpr int kStarCount = 20;

// "天乙贵人" .. "空亡"; empty for any other value.
std::string_view StarName(Star star);

// The stars of one pillar, a bit per star; iterated in list order.
class StarSet {
public:
    constexpr StarSet() = default;
    constexpr explicit StarSet(std::uint32_t bits) : bits_(bits) {}

    constexpr bool Has(Star s) const { return (bits_ >> static_cast<int>(s) & 1u) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr int size() const { return std::popcount(bits_); }
    constexpr std::uint32_t bits() const { return bits_; }

    class Iterator {
    public:
        constexpr explicit Iterator(std::uint32_t rest) : rest_(rest) {}
        constexpr Star operator*() const { return static_cast<Star>(std::countr_zero(rest_)); }
        constexpr Iterator& operator++() {
            rest_ &= rest_ - 1;
            return *this;
        }
        constexpr bool operator==(const Iterator&) const = default;

    private:
        std::uint32_t rest_;
    };
    constexpr Iterator begin() const { return Iterator(bits_); }
    constexpr Iterator end() const { return Iterator(0); }

    friend constexpr bool operator==(StarSet, StarSet) = default;

private:
    std::uint32_t bits_ = 0;
};

// The per-pillar stars of one chart, worked out once for every stem and
// branch, for the stars of many pillars (the luck and annual pillars).
class StarTable {
public:
    explicit StarTable(const Chart& chart);

    // The stars `pillar` carries, keyed on the natal chart. `natal` is set
    // only for the four natal pillars themselves: a star that looks at a
    // natal pillar is then not tested on any pillar whose index equals that
    // natal pillar's (驿马 华盖 将星 亡神 劫煞 咸池 skip the day pillar, 天医
    // the month pillar, 灾煞 孤辰寡宿 the year pillar). Empty outside 1..60.
    StarSet Of(Pillar pillar, bool natal) const;

private:
    std::uint32_t byBranch_[13] = {};  // bit i: star i holds for the branch
    std::uint32_t byStem_[11] = {};    // bit i: star i holds for the stem
    Pillar yearPillar_ = 0, monthPillar_ = 0, dayPillar_ = 0;
};

// StarTable(chart).Of(pillar, natal), for one pillar.
StarSet PillarShensha(const Chart& chart, Pillar pillar, bool natal);

// The stars of the chart as a whole.
enum class ChartStar : std::uint8_t { kSanQi, kKuiGang, kJinShen, kTianShe, kShiEDaBai, kYinChaYangCuo };

// "三奇贵人" 魁罡贵人 金神 天赦 十恶大败 阴差阳错; empty for any other value.
std::string_view ChartStarName(ChartStar star);

// The chart-wide stars that hold, in list order; 三奇贵人 twice when both
// the year–month–day and the month–day–hour stems run in order.
struct ChartStars {
    std::array<ChartStar, 7> stars{};
    int count = 0;

    const ChartStar* begin() const { return stars.data(); }
    const ChartStar* end() const { return stars.data() + count; }
    friend bool operator==(const ChartStars& a, const ChartStars& b) {
        if (a.count != b.count) return false;
        for (int i = 0; i < a.count; ++i)
            if (a.stars[static_cast<std::size_t>(i)] != b.stars[static_cast<std::size_t>(i)]) return false;
        return true;
    }
};
ChartStars ChartWideStars(const Chart& chart);

}  // namespace tl
