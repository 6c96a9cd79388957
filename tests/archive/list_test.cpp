#include "archive/list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "archive/store.h"
#include "text/utf8.h"
#include "support/temp_folder.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// 2008-12-11 4:57:51
const double kSavedAt = OleDateTime({2008, 12, 11}, TimeOfDay::Hms(4, 57, 51));

// A record as read back from reco.dat (texts with their padding).
ChartRecord Stored(int number, std::string name, std::string place) {
    ChartRecord r;
    r.recordNumber = number;
    r.name = std::move(name);
    r.sex = "男";
    r.place = std::move(place);
    r.birthDate = 31118;
    r.birthTime = (9 * 60 + 5) / 1440.0;
    r.savedAt = kSavedAt;
    return r;
}

TEST(OleDateText, TheFormsOfTheList) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, std::string> cases[] = {
        {31118, "1985-3-12"},
        {(9 * 60 + 5) / 1440.0, "9:05:00"},
        {kSavedAt, "2008-12-11 4:57:51"},
        {0.5, "12:00:00"},
        {0, "0:00:00"},  // the date part is 0: only the time
        {2, "1900-1-1"},
        {OleDateTime({2021, 10, 31}, TimeOfDay::Hms(23, 59, 59)), "2021-10-31 23:59:59"},
        {-1.25, "1899-12-29 6:00:00"},
        {nan, ""},
        {std::numeric_limits<double>::infinity(), ""},
        {1e300, ""},
        {-1e300, ""},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(OleDateText(value), text) << value;
}

TEST(ArchiveListLine, TheFieldsInTheirColumns) {
    // The number is the position, that of save/<position>.txt; each field
    // takes the same columns in every line, a Chinese character two.
    const std::string tail = "  年辰:1985-3-12,9:05:00  记录时间:2008-12-11 4:57:51";
    const std::pair<std::string, std::string> lines[] = {
        {ArchiveListLine(Stored(0, "张三        ", "1北京,北京    "), 1),
         "    1-张三         男    1北京,北京    " + tail},
        // The whole 12-byte name and 14-byte place show.
        {ArchiveListLine(Stored(11, "欧阳修文武双", "24内蒙古,呼和"), 12),
         "   12-欧阳修文武双 男    24内蒙古,呼和 " + tail},
        {ArchiveListLine(Stored(2, "Alexander Li", "x"), 32767),
         "32767-Alexander Li 男    x             " + tail},
    };
    for (const auto& [line, expected] : lines) EXPECT_EQ(line, expected);
    // A field longer than its columns is cut by whole characters.
    EXPECT_EQ(ArchiveListLine(Stored(0, "欧阳修文武双全", "p"), 1).substr(0, 28), "    1-欧阳修文武双 男");
}

TEST(ArchiveListSearch, NamePartOrBirthYear) {
    const ChartRecord r = Stored(0, "Alexander 张", "p");  // born 1985-3-12
    const std::pair<const char*, bool> queries[] = {
        {"", true}, {"  ", true}, {"张", true}, {"alex", true}, {" ANDER ", true}, {"1985", true},
        {"李", false}, {"1984", false}, {"198", false}, {"x1985", false},
    };
    for (const auto& [query, matches] : queries) EXPECT_EQ(RecordMatches(r, query), matches) << query;
    // A record saved before any run has no birth year to find.
    EXPECT_FALSE(RecordMatches(ChartRecord{}, "1899"));
    // The list keeps only the matching records, each with its position.
    const std::vector<ChartRecord> records = {Stored(0, "张三", "p"), Stored(1, "李四", "p"), Stored(2, "张五", "p")};
    const ArchiveList list = BuildArchiveList(records, "张");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(SelectedPosition(list, 0), 1);
    EXPECT_EQ(SelectedPosition(list, 2), 3);
    EXPECT_EQ(RecordSummary(records[1]), "李四 男 1985-3-12 9:05:00");
    EXPECT_EQ(RecordSummary(DecodeRecord(RecordBytes{})), "没有名字 0:00:00 0:00:00");
}

TEST(ArchiveListLine, ARecordSavedBeforeAnyRun) {
    // Empty name, sex and place, zero dates.
    ChartRecord r = DecodeRecord(RecordBytes{});
    r.recordNumber = 5;
    r.savedAt = kSavedAt;
    EXPECT_EQ(ArchiveListLine(r, 6), "    6-" + std::string(12 + 1 + 2 + 4 + 14, ' ') +
                                         "  年辰:0:00:00,0:00:00  记录时间:2008-12-11 4:57:51");
}

TEST(ArchiveListLine, DamagedRecordsStayOneLine) {
    ChartRecord r = Stored(7, "a\r\nb", "\xEF\xBF\xBD");
    r.birthDate = std::numeric_limits<double>::quiet_NaN();
    r.birthTime = 1e300;
    r.savedAt = -std::numeric_limits<double>::infinity();
    const std::string line = ArchiveListLine(r, 8);
    EXPECT_EQ(line.find('\r'), std::string::npos);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line, "    8-a\xEF\xBF\xBD\xEF\xBF\xBD" "b" + std::string(6, ' ') + " 男" + std::string(4, ' ') +
                        "\xEF\xBF\xBD" + std::string(12, ' ') + "  年辰:,  记录时间:");
}

TEST(ArchiveList, EveryLiveRecordThenAnEmptyLine) {
    std::vector<ChartRecord> records = {Stored(0, "张三", "p"), Stored(1, "李四", "p"), Stored(2, "王五", "p")};
    records[1].deleted = -1;
    const ArchiveList list = BuildArchiveList(records);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].text, ArchiveListLine(records[0], 1));
    EXPECT_EQ(list[1].text, "");
    EXPECT_EQ(list[2].text, ArchiveListLine(records[2], 3));
    EXPECT_EQ(list[3].text, "");
    // Record lines name their positions; empty lines select nothing.
    const std::pair<int, std::optional<int>> selections[] = {
        {0, 1}, {1, std::nullopt}, {2, 3}, {3, std::nullopt}, {4, std::nullopt}, {-1, std::nullopt}};
    for (const auto& [index, position] : selections) EXPECT_EQ(SelectedPosition(list, index), position) << index;
    EXPECT_EQ(SelectedPosition(ArchiveList{}, 0), std::nullopt);
    // Any value but 0 in `deleted` hides a record.
    records[2].deleted = 7;
    EXPECT_EQ(BuildArchiveList(records).size(), 2u);
}

TEST(PositionOfListLine, TheNumberBeforeTheDash) {
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"    1-张三", 1},
        {" 41-x-y", 41},
        {"32767-", 32767},
        {"7-", 7},
        {" 0-", std::nullopt},
        {" 32768-", std::nullopt},
        {" -1-张三", std::nullopt},
        {" 1 2-", std::nullopt},
        {" x-", std::nullopt},
        {" 12", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
    };
    for (const auto& [line, position] : cases) EXPECT_EQ(PositionOfListLine(line), position) << line;
}

TEST(ListArchive, SavedChartsReadBack) {
    TempFolder folder;
    fs::create_directory(folder / "save");
    for (const char* name : {"张三", "李四", "王五"}) {
        ChartRecord r = Stored(0, name, "1北京,北京");
        ASSERT_TRUE(SaveChart(folder.path(), r, "text", kSavedAt).saved);
    }
    ASSERT_TRUE(MarkDeleted(folder.path(), 2));
    const auto list = ListArchive(folder.path());
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->size(), 4u);
    EXPECT_EQ((*list)[0].text,
              "    1-张三         男    1北京,北京      年辰:1985-3-12,9:05:00  记录时间:2008-12-11 4:57:51");
    EXPECT_EQ((*list)[2].text.substr(0, 12), "    3-王五");
    // The lines of records 1 and 3.
    EXPECT_EQ(SelectedPosition(*list, 0), 1);
    EXPECT_EQ(SelectedPosition(*list, 2), 3);
}

TEST(ListArchive, MissingAndHostileFiles) {
    TempFolder folder;
    EXPECT_EQ(ListArchive(folder.path()), ArchiveList{});
    EXPECT_FALSE(fs::exists(folder / "reco.dat"));  // listing creates nothing
    test::WriteBytes(folder / "reco.dat", "");
    EXPECT_EQ(ListArchive(folder.path()), ArchiveList{});
    // Records whose numbers are not their positions: the lines and the
    // selection name the positions.
    RecordBytes b = EncodeRecord(Stored(0, "甲", "p"));
    b[0] = 9;
    RecordBytes c = EncodeRecord(Stored(0, "乙", "p"));
    c[0] = 0xFF;
    c[1] = 0xFF;  // -1
    test::WriteBytes(folder / "reco.dat", std::string(reinterpret_cast<const char*>(b.data()), 56) +
                                              std::string(reinterpret_cast<const char*>(c.data()), 56));
    const auto list = ListArchive(folder.path());
    ASSERT_EQ(list->size(), 4u);
    EXPECT_EQ((*list)[0].text.substr(0, 9), "    1-甲");
    EXPECT_EQ((*list)[2].text.substr(0, 9), "    2-乙");
    EXPECT_EQ(SelectedPosition(*list, 0), 1);
    EXPECT_EQ(SelectedPosition(*list, 2), 2);
}

}  // namespace
}  // namespace tl
