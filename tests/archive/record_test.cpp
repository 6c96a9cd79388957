#include "archive/fields.h"
#include "archive/record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "text/gbk.h"
#include "chart/run.h"

namespace tl {
namespace {

std::string Slice(const RecordBytes& b, std::size_t at, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(b.data() + at), n);
}

double DoubleAt(const RecordBytes& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return std::bit_cast<double>(v);
}

// The record a run leaves for a birth on 1985-03-12 at 09:05.
ChartRecord SampleRecord(std::string_view name) {
    Chart chart;
    chart.isMale = true;
    chart.birthYear = 1985;
    chart.birthMonth = 3;
    chart.birthDay = 12;
    chart.birthTime = TimeOfDay::Hms(9, 5);
    return ArchiveFields(chart, name, "1北京", "北京");
}

TEST(EncodeRecord, TheLayoutOfARunRecord) {
    ChartRecord r = SampleRecord("张三");
    r.recordNumber = 0x0102;
    r.savedAt = 39793.5;
    const RecordBytes b = EncodeRecord(r);
    EXPECT_EQ(Slice(b, 0, 2), "\x02\x01");
    // 张三: its 4 GBK bytes, then 8 spaces.
    EXPECT_EQ(Slice(b, 2, 12), "\xD5\xC5\xC8\xFD        ");
    EXPECT_EQ(Slice(b, 14, 2), "\xC4\xD0");
    // 1北京,北京 takes 10 bytes and is followed by 4 spaces.
    EXPECT_EQ(Slice(b, 16, 14), "1\xB1\xB1\xBE\xA9,\xB1\xB1\xBE\xA9    ");
    // 1985-03-12 09:05 is day 31118 and 9 h 5 min of 24 h.
    EXPECT_EQ(DoubleAt(b, 30), 31118.0);
    EXPECT_DOUBLE_EQ(DoubleAt(b, 38), (9 * 60 + 5) / 1440.0);
    EXPECT_NEAR(DoubleAt(b, 38), 0.37847222, 1e-8);
    EXPECT_EQ(DoubleAt(b, 46), 39793.5);
    EXPECT_EQ(Slice(b, 54, 2), std::string("\0\0", 2));
}

TEST(EncodeRecord, TextFieldsAreCutToWholeCharacters) {
    // A name of 7 Chinese characters keeps its first 6 (12 bytes).
    EXPECT_EQ(Slice(EncodeRecord(SampleRecord("欧阳修文武双全")), 2, 12), Utf8ToGbk("欧阳修文武双"));
    // Mixed widths: the half of the 7th Chinese character is dropped.
    EXPECT_EQ(Slice(EncodeRecord(SampleRecord("a欧阳修文武双全")), 2, 12), Utf8ToGbk("a欧阳修文武") + " ");
    // No name.
    EXPECT_EQ(Slice(EncodeRecord(SampleRecord("")), 2, 12), Utf8ToGbk("没有名字") + "    ");
    ChartRecord r = SampleRecord("x");
    r.place = "12345678901234567";
    EXPECT_EQ(Slice(EncodeRecord(r), 16, 14), "12345678901234");
}

TEST(EncodeRecord, BeforeAnyRunTheRecordIsAllZero) {
    EXPECT_EQ(EncodeRecord(ChartRecord{}), RecordBytes{});
}

TEST(DecodeRecord, ReadsTheFieldsBack) {
    ChartRecord r = SampleRecord("张三");
    r.recordNumber = 41;
    r.savedAt = 39793.25;
    r.deleted = -1;
    const ChartRecord back = DecodeRecord(EncodeRecord(r));
    EXPECT_EQ(back.recordNumber, 41);
    EXPECT_EQ(back.name, "张三        ");  // padding spaces are kept
    EXPECT_EQ(back.sex, "男");
    EXPECT_EQ(back.place, "1北京,北京    ");
    EXPECT_EQ(back.birthDate, 31118.0);
    EXPECT_EQ(back.birthTime, r.birthTime);
    EXPECT_EQ(back.savedAt, 39793.25);
    EXPECT_EQ(back.deleted, -1);
}

TEST(DecodeRecord, HostileBytes) {
    RecordBytes b{};
    // Texts end at the first NUL; bytes that are not GBK become U+FFFD.
    const char name[] = "\xD5\xC5\0\xC8\xFD";
    std::memcpy(b.data() + 2, name, 5);
    std::memcpy(b.data() + 14, "\xFF\xFF", 2);
    std::memcpy(b.data() + 16, "\x81", 1);
    // NaN, infinity and the largest double.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double huge = std::numeric_limits<double>::max();
    std::memcpy(b.data() + 30, &nan, 8);
    std::memcpy(b.data() + 38, &inf, 8);
    std::memcpy(b.data() + 46, &huge, 8);
    b[0] = 0xFF;
    b[1] = 0x7F;
    b[54] = 0x34;
    b[55] = 0x12;
    const ChartRecord r = DecodeRecord(b);
    EXPECT_EQ(r.name, "张");
    EXPECT_EQ(r.sex, "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(r.place, "\xEF\xBF\xBD");
    EXPECT_TRUE(std::isnan(r.birthDate));
    EXPECT_TRUE(std::isinf(r.birthTime));
    EXPECT_EQ(r.savedAt, huge);
    EXPECT_EQ(r.recordNumber, 32767);
    EXPECT_EQ(r.deleted, 0x1234);
}

TEST(OleDate, DaysFrom30December1899) {
    EXPECT_EQ(OleDate({1899, 12, 30}), 0);
    EXPECT_EQ(OleDate({1900, 1, 1}), 2);
    EXPECT_EQ(OleDate({1985, 3, 12}), 31118);
    EXPECT_EQ(OleDate({1985, 3, 2}), 31108);
    EXPECT_EQ(OleDate({1985, 2, 30}), 31108);
    EXPECT_DOUBLE_EQ(OleDateTime({2008, 12, 11}, TimeOfDay::Hms(12, 0)), 39793.5);
    const double now = OleNow();
    EXPECT_GT(now, OleDate({2020, 1, 1}));
    EXPECT_LT(now, OleDate({2200, 1, 1}));
}

TEST(SplitOleDate, DatesAndTimesOfDay) {
    struct Case {
        double value;
        Date date;
        int h, m, s;
        long day;
    };
    const Case cases[] = {
        {0, {1899, 12, 30}, 0, 0, 0, 0},
        {31118, {1985, 3, 12}, 0, 0, 0, 31118},
        {(9 * 60 + 5) / 1440.0, {1899, 12, 30}, 9, 5, 0, 0},
        {39793 + (4 * 3600 + 57 * 60 + 51) / 86400.0, {2008, 12, 11}, 4, 57, 51, 39793},
        // Negative values count the date back and the fraction forward.
        {-1.25, {1899, 12, 29}, 6, 0, 0, -1},
        {-0.5, {1899, 12, 30}, 12, 0, 0, 0},
        // Rounding to the second can reach the next day.
        {0.9999999, {1899, 12, 31}, 0, 0, 0, 1},
        {2958465.5, {9999, 12, 31}, 12, 0, 0, 2958465},
        {-657434, {100, 1, 1}, 0, 0, 0, -657434},
    };
    for (const auto& c : cases) {
        const auto p = SplitOleDate(c.value);
        ASSERT_TRUE(p.has_value()) << c.value;
        EXPECT_EQ(p->date, c.date) << c.value;
        EXPECT_EQ(p->time, TimeOfDay::Hms(c.h, c.m, c.s)) << c.value;
        EXPECT_EQ(p->day, c.day) << c.value;
    }
}

TEST(SplitOleDate, ValuesThatAreNoDate) {
    for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(),
                     -std::numeric_limits<double>::max(), 2958466.0, 2958465.9999999, -657435.0, 1e18})
        EXPECT_FALSE(SplitOleDate(v).has_value()) << v;
}

}  // namespace
}  // namespace tl
