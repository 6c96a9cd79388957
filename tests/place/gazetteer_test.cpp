#include "place/gazetteer.h"
#include "place/world_gazetteer.h"
#include "place/zone_clock.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tl {
namespace {

struct ListShape {
    int province;
    int count;
    const char* first;
    const char* last;
};

// Length, first and last name of every province's list: a shifted, lost or
// doubled entry anywhere shows up here.
TEST(Gazetteer, EveryListHasItsLengthAndEnds) {
    const ListShape shapes[] = {
        {0, 1, "不考虑", "不考虑"},
        {1, 10, "北京", "延庆"},
        {2, 1, "香港", "香港"},
        {3, 1, "澳门", "澳门"},
        {4, 1, "台北", "台北"},
        {5, 6, "天津", "武清"},
        {6, 10, "上海", "崇明"},
        {7, 12, "重庆", "万盛"},
        {8, 79, "合肥", "太和"},
        {9, 68, "福州", "明溪"},
        {10, 75, "兰州", "肃北"},
        {11, 94, "广州", "封开"},
        {12, 86, "南宁", "隆林"},
        {13, 81, "贵阳", "三都"},
        {14, 18, "海口", "昌江"},
        {15, 147, "石家庄", "冀县"},
        {16, 80, "哈尔滨", "漠河"},
        {17, 121, "郑州", "新安"},
        {18, 40, "武汉", "石首"},
        {19, 97, "长沙", "桃江"},
        {20, 74, "南京", "吴江"},
        {21, 86, "南昌", "大余"},
        {22, 42, "长春", "洮安"},
        {23, 50, "沈阳", "建平"},
        {24, 87, "呼和浩特", "科尔沁右翼中旗"},
        {25, 18, "银川", "隆德"},
        {26, 39, "西宁", "天峻"},
        {27, 103, "太原", "稷山"},
        {28, 116, "济南", "冠县"},
        {29, 97, "西安", "四川"},
        {30, 173, "成都", "木里"},
        {31, 82, "乌鲁木齐", "哈巴河"},
        {32, 72, "拉萨", "普兰"},
        {33, 127, "昆明", "维西"},
        {34, 72, "杭州", "常山"},
    };
    ASSERT_EQ(std::size(shapes), static_cast<std::size_t>(kProvinceCount));
    int total = 0;
    for (const auto& s : shapes) {
        EXPECT_EQ(PlaceCount(s.province), s.count) << s.province;
        EXPECT_EQ(FillPlaceList(s.province).size(), static_cast<std::size_t>(s.count)) << s.province;
        EXPECT_EQ(PlaceItem(s.province, 1), s.first) << s.province;
        EXPECT_EQ(PlaceItem(s.province, s.count), s.last) << s.province;
        total += PlaceCount(s.province);
    }
    EXPECT_EQ(total, 2266);
    for (int outside : {-1, kProvinceCount}) {
        EXPECT_EQ(PlaceCount(outside), 0);
        EXPECT_TRUE(FillPlaceList(outside).empty());
        EXPECT_EQ(PlaceItem(outside, 1), "");
    }
}

TEST(Gazetteer, ProvinceItems) {
    EXPECT_EQ(ProvinceItem(0), "不考虑");
    EXPECT_EQ(ProvinceItem(1), "1北京");
    EXPECT_EQ(ProvinceItem(16), "16黑龙江");
    EXPECT_EQ(ProvinceItem(24), "24内蒙古");
    EXPECT_EQ(ProvinceItem(34), "34浙江");
    EXPECT_EQ(ProvinceItem(-1), "");
    EXPECT_EQ(ProvinceItem(35), "");
    // Items 1..34 start with their own number.
    for (int p = 1; p < kProvinceCount; ++p) {
        EXPECT_EQ(std::string(ProvinceItem(p)).rfind(std::to_string(p), 0), 0u) << p;
        const char next = ProvinceItem(p)[std::to_string(p).size()];
        EXPECT_FALSE(next >= '0' && next <= '9') << p;
    }
}

struct Repeat {
    int province;
    int place;
    const char* name;
};

TEST(Gazetteer, RepeatedNamesStayAtTheirPositions) {
    const Repeat repeats[] = {
        {9, 5, "南平"},   {9, 6, "南平"},   {19, 5, "衡阳"},  {19, 37, "衡阳"},
        {20, 7, "南通"},  {20, 45, "南通"}, {11, 8, "海口"},  {14, 1, "海口"},
        {11, 10, "洪江"}, {19, 68, "洪江"}, {10, 55, "东乡"}, {21, 53, "东乡"},
        {17, 28, "孟县"}, {27, 35, "孟县"}, {20, 19, "清江"}, {21, 39, "清江"},
    };
    for (const auto& r : repeats) EXPECT_EQ(PlaceItem(r.province, r.place), r.name) << r.province << "," << r.place;

    // Exactly these three names repeat within one province.
    std::set<std::string> repeatedWithin;
    for (int p = 0; p < kProvinceCount; ++p) {
        std::set<std::string_view> seen;
        for (auto name : FillPlaceList(p))
            if (!seen.insert(name).second) repeatedWithin.insert(std::string(name));
    }
    EXPECT_EQ(repeatedWithin, (std::set<std::string>{"南平", "衡阳", "南通"}));
}

TEST(Gazetteer, NamesShareBetweenProvincesOnlyWhereListed) {
    std::map<std::string, std::set<int>> provincesOf;
    for (int p = 1; p < kProvinceCount; ++p)
        for (auto name : FillPlaceList(p)) provincesOf[std::string(name)].insert(p);
    std::map<std::string, std::set<int>> shared;
    for (const auto& [name, ps] : provincesOf)
        if (ps.size() > 1) shared[name] = ps;
    const std::map<std::string, std::set<int>> expected = {
        {"海口", {11, 14}}, {"洪江", {11, 19}}, {"东乡", {10, 21}}, {"孟县", {17, 27}}, {"清江", {20, 21}},
    };
    EXPECT_EQ(shared, expected);
}

TEST(Gazetteer, OddSpellingsAreKept) {
    // The lists' own spellings, not today's standard names.
    EXPECT_EQ(PlaceItem(8, 16), "吴壁");
    EXPECT_EQ(PlaceItem(11, 3), "新十");
    EXPECT_EQ(PlaceItem(16, 5), "鸡四");
    EXPECT_EQ(PlaceItem(23, 10), "鞍由");
    EXPECT_EQ(PlaceItem(29, 97), "四川");
    EXPECT_EQ(PlaceItem(30, 117), "百沙");
    EXPECT_EQ(PlaceItem(26, 35), "曲麻菜");
    EXPECT_EQ(PlaceItem(24, 2), "上默特左旗");
    EXPECT_EQ(PlaceItem(24, 46), "莫力达瓦达斡尔族自治旗");
}

TEST(FillPlaceList, NotConsideredHasOnePlace) {
    const auto list = FillPlaceList(0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], "不考虑");
}

TEST(FillPlaceList, SinglePlaceProvinces) {
    EXPECT_EQ(FillPlaceList(2), (std::vector<std::string_view>{"香港"}));
    EXPECT_EQ(FillPlaceList(3), (std::vector<std::string_view>{"澳门"}));
    EXPECT_EQ(FillPlaceList(4), (std::vector<std::string_view>{"台北"}));
}

TEST(FillPlaceList, Province30HoldsTheLongestList) {
    const auto list = FillPlaceList(30);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kMaxPlaceCount));
    EXPECT_EQ(list.front(), "成都");
    EXPECT_EQ(list.back(), "木里");
    for (int p = 0; p < kProvinceCount; ++p) EXPECT_LE(PlaceCount(p), kMaxPlaceCount) << p;
}

TEST(FillPlaceList, AgreesWithPlaceItem) {
    for (int p = 0; p < kProvinceCount; ++p) {
        const auto list = FillPlaceList(p);
        ASSERT_EQ(static_cast<int>(list.size()), PlaceCount(p));
        for (int i = 0; i < PlaceCount(p); ++i) {
            EXPECT_EQ(list[i], PlaceItem(p, i + 1));
            EXPECT_FALSE(list[i].empty());
            EXPECT_EQ(list[i].find(' '), std::string_view::npos);
        }
    }
}

TEST(Gazetteer, OutsideTheListsIsEmpty) {
    EXPECT_TRUE(FillPlaceList(-1).empty());
    EXPECT_TRUE(FillPlaceList(35).empty());
    EXPECT_EQ(PlaceCount(-1), 0);
    EXPECT_EQ(PlaceCount(35), 0);
    EXPECT_EQ(PlaceItem(1, 0), "");
    EXPECT_EQ(PlaceItem(1, 11), "");
    EXPECT_EQ(PlaceItem(30, 174), "");
    EXPECT_EQ(PlaceItem(35, 1), "");
}

TEST(WorldGazetteer, EveryCountryButChinaWithItsCities) {
    const auto& countries = WorldCountries();
    EXPECT_GE(countries.size(), 230u);
    std::size_t cities = 0;
    for (const WorldCountry& c : countries) {
        EXPECT_GT(c.cities, 0) << c.code;
        EXPECT_FALSE(c.name.empty()) << c.code;
        for (const WorldCity& city : CitiesOf(c.code)) {
            EXPECT_TRUE(ZoneKnown(city.zone)) << city.latin;
            EXPECT_TRUE(city.longitude >= -180 && city.longitude <= 180 && city.latitude >= -90 && city.latitude <= 90)
                << city.latin;
            ++cities;
        }
    }
    EXPECT_GE(cities, 4000u);
    for (const char* china : {"CN", "HK", "MO", "TW"}) EXPECT_FALSE(FindCountry(china)) << china;
    // By code in either case, by Chinese or Latin name, by region.
    const struct {
        const char* country;
        const char* city;
        const char* region;
        const char* name;
        const char* zone;
        std::size_t found;
    } lookups[] = {
        {"us", "new york city", "", "纽约", "America/New_York", 1},
        {"US", "纽约", "", "纽约", "America/New_York", 1},
        {"GB", "London", "", "伦敦", "Europe/London", 1},
        {"MY", "吉隆坡", "", "吉隆坡", "Asia/Kuala_Lumpur", 1},
        {"CA", "Vancouver", "British Columbia", "温哥华", "America/Vancouver", 1},
        {"US", "Springfield", "Missouri", "Springfield", "America/Chicago", 1},
        {"US", "Springfield", "", "Springfield", "", 3},
        {"US", "Atlantis", "", "", "", 0},
    };
    for (const auto& k : lookups) {
        std::optional<std::string_view> region;
        if (*k.region) region = k.region;
        const auto found = FindCities(k.country, k.city, region);
        ASSERT_EQ(found.size(), k.found) << k.city;
        if (k.found == 1) {
            EXPECT_EQ(found[0].name, k.name) << k.city;
            EXPECT_EQ(found[0].zone, k.zone) << k.city;
        }
    }
    EXPECT_EQ(FindCountry("us")->name, "美国");
    // A typed prefix finds the largest cities first.
    const auto prefix = CitiesStartingWith("US", "Los", 3);
    ASSERT_FALSE(prefix.empty());
    EXPECT_EQ(prefix.front().latin, "Los Angeles");
    EXPECT_FALSE(RegionsOf("US").empty());
}

}  // namespace
}  // namespace tl
