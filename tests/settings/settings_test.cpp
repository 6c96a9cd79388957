#include "settings/settings.h"
#include "settings/zi_day_change.h"
#include "settings/script_choice.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <string>

#include "text/gbk.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// 05 00 00 80, 宋体 and 6 spaces, "10.5" and a space, eight zero bytes,
// "0" and 9 spaces.
const std::string kDefaultRecord = std::string("\x05\x00\x00\x80", 4) + "\xCB\xCE\xCC\xE5" + "      " + "10.5 " +
                                   std::string(8, '\0') + "0" + std::string(9, ' ');

std::string Str(const SettingsBytes& b) { return std::string(reinterpret_cast<const char*>(b.data()), b.size()); }

SettingsBytes FromString(std::string_view s) {
    SettingsBytes b{};
    for (std::size_t i = 0; i < b.size() && i < s.size(); ++i) b[i] = static_cast<unsigned char>(s[i]);
    return b;
}

// kDefaultRecord with `text` put at `offset`.
SettingsBytes DefaultWith(std::size_t offset, std::string_view text) {
    std::string s = kDefaultRecord;
    s.replace(offset, text.size(), text);
    return FromString(s);
}

TEST(Settings, TheDefaultRecordByteForByte) {
    ASSERT_EQ(kDefaultRecord.size(), 37u);
    EXPECT_EQ(Str(EncodeSettings(DefaultSettings())), kDefaultRecord);
    const Settings d = DefaultSettings();
    EXPECT_EQ(d.backgroundColour, 0x80000005u);
    EXPECT_EQ(d.font.name, "宋体");
    EXPECT_EQ(d.font.pointSize, 10.5);
    EXPECT_FALSE(d.font.bold || d.font.strikethrough || d.font.italic || d.font.underline);
    EXPECT_EQ(d.textColour, 0u);
    EXPECT_EQ(DecodeSettings(FromString(kDefaultRecord)), d);
}

TEST(DecodeSettings, FieldsReadAsTheBoxTakesThem) {
    struct Case {
        std::size_t offset;
        std::string text;
        bool usable;
    };
    const Case cases[] = {
        {14, "12   ", true},
        {14, " 9.75", true},
        {14, "1638 ", true},
        {14, "1639 ", false},  // larger than any font
        {14, "0.99 ", false},
        {14, "0    ", false},
        {14, "abc  ", false},
        {14, "     ", false},
        {14, "1.2.3", false},
        {14, "-10  ", false},
        {27, "255       ", true},
        {27, "16777215  ", true},
        {27, "16777216  ", false},  // not 0x00BBGGRR
        {27, "-214748364", false},   // negative, and no system colour
        {27, "x         ", false},
        {27, "          ", false},
        {27, "99999999999", false},
        {4, "          ", false},   // no font name
        {4, "Arial\t    ", false},  // control character
        {4, "\xFF\xFF        ", false},  // not GBK
        {0, std::string("\x00\x00\x01\x00", 4), true},
        {0, std::string("\x00\x00\x00\x01", 4), false},
        {0, std::string("\xFF\xFF\xFF\x7F", 4), false},
        {0, std::string("\x00\x00\x00\x80", 4), true},
        {0, std::string("\x18\x00\x00\x80", 4), true},
        {0, std::string("\x19\x00\x00\x80", 4), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeSettings(DefaultWith(c.offset, c.text)).has_value(), c.usable) << c.offset << " '" << c.text
                                                                                        << "'";
}

TEST(DecodeSettings, ValuesOfAChosenStyle) {
    std::string s = kDefaultRecord;
    s.replace(0, 4, std::string("\xFF\x80\x00\x00", 4));
    s.replace(4, 10, Utf8ToGbk("黑体") + "      ");
    s.replace(14, 5, "12   ");
    s.replace(19, 8, std::string("\xFF\xFF\x00\x00\x01\x00\x00\x01", 8));
    s.replace(27, 10, "255       ");
    const auto d = DecodeSettings(FromString(s));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->backgroundColour, 0x000080FFu);
    EXPECT_EQ(d->font.name, "黑体");
    EXPECT_EQ(d->font.pointSize, 12);
    EXPECT_TRUE(d->font.bold);
    EXPECT_FALSE(d->font.strikethrough);
    EXPECT_TRUE(d->font.italic);  // any value but 0 is true
    EXPECT_TRUE(d->font.underline);  // its high byte alone
    EXPECT_EQ(d->textColour, 255u);
}

TEST(EncodeSettings, SizeAndNameTexts) {
    const std::pair<double, std::string> sizes[] = {
        {10.5, "10.5 "}, {12, "12   "}, {9.75, "9.75 "}, {72, "72   "}, {100.25, "100.2"}, {1638, "1638 "}};
    for (const auto& [size, text] : sizes) {
        Settings s;
        s.font.pointSize = size;
        EXPECT_EQ(Str(EncodeSettings(s)).substr(14, 5), text) << size;
    }
    Settings s;
    s.font.name = "方正粗宋简体字";  // 14 bytes of GBK: cut to whole characters
    EXPECT_EQ(Str(EncodeSettings(s)).substr(4, 10), Utf8ToGbk("方正粗宋简"));
    s.font.name = "a方正粗宋简体";
    EXPECT_EQ(Str(EncodeSettings(s)).substr(4, 10), Utf8ToGbk("a方正粗宋") + " ");
    s.textColour = 0x00FFFFFF;
    EXPECT_EQ(Str(EncodeSettings(s)).substr(27, 10), "16777215  ");
}

TEST(LoadSettings, FirstStartWithoutAFile) {
    TempFolder folder;
    // Reading the stored style creates nothing; the start creates the file.
    EXPECT_EQ(StoredSettings(folder.path()), DefaultSettings());
    EXPECT_FALSE(fs::exists(folder / "shezhi.ini"));
    EXPECT_EQ(LoadSettings(folder.path()), DefaultSettings());
    ASSERT_TRUE(fs::exists(folder / "shezhi.ini"));
    EXPECT_EQ(fs::file_size(folder / "shezhi.ini"), 0u);
}

TEST(LoadSettings, UnusableFilesGiveTheDefaultsAndStayAsTheyWere) {
    std::mt19937 rng(3);
    std::string garbage(37, '\0');
    for (char& c : garbage) c = static_cast<char>(rng());
    const std::string cases[] = {
        "",                              // empty
        kDefaultRecord.substr(0, 20),    // short
        garbage,                         // 37 bytes of garbage
        std::string(37, '\0'),           // all zero
        std::string(37, ' '),
    };
    for (const std::string& bytes : cases) {
        TempFolder folder;
        WriteBytes(folder / "shezhi.ini", bytes);
        EXPECT_EQ(LoadSettings(folder.path()), DefaultSettings());
        EXPECT_EQ(ReadBytes(folder / "shezhi.ini"), bytes);
    }
    TempFolder folder;
    fs::create_directory(folder / "shezhi.ini");  // unreadable as a file
    EXPECT_EQ(LoadSettings(folder.path()), DefaultSettings());
    EXPECT_EQ(LoadSettings(folder / "no such folder"), DefaultSettings());
}

TEST(LoadSettings, ANamedPipeIsNoSettingsFile) {
    // Opening a pipe for reading would wait for a writer: the start must
    // go on with the defaults at once, and the commands write nothing.
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "shezhi.ini").c_str(), 0600), 0);
    const auto status = test::RunInChild([&] {
        if (LoadSettings(folder.path()) != DefaultSettings()) return 1;
        if (ReadSettingsRecord(folder.path()) || StoreDefaults(folder.path())) return 1;
        return StoreBackgroundChoice(folder.path(), 0x00FFFFFF) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::is_fifo(folder / "shezhi.ini"));
}

TEST(LoadSettings, ALongFileAppliesItsFirstRecord) {
    TempFolder folder;
    const SettingsBytes record = DefaultWith(14, "14   ");
    WriteBytes(folder / "shezhi.ini", Str(record) + "trailing bytes of some other program");
    Settings expected;
    expected.font.pointSize = 14;
    EXPECT_EQ(LoadSettings(folder.path()), expected);
}

TEST(StoreDefaults, WritesThe37DefaultBytes) {
    TempFolder folder;
    WriteBytes(folder / "shezhi.ini", std::string(37, 'q'));
    ASSERT_TRUE(StoreDefaults(folder.path()));
    EXPECT_EQ(ReadBytes(folder / "shezhi.ini"), kDefaultRecord);
    TempFolder fresh;
    ASSERT_TRUE(StoreDefaults(fresh.path()));
    EXPECT_EQ(ReadBytes(fresh / "shezhi.ini"), kDefaultRecord);
    EXPECT_FALSE(StoreDefaults(fresh / "no such folder"));
}

TEST(StoreFontChoice, KeepsTheBackgroundAsRead) {
    FontStyle font;
    font.name = "黑体";
    font.pointSize = 12;
    font.bold = true;
    font.underline = true;
    const std::string chosen = Utf8ToGbk("黑体") + "      " + "12   " +
                               std::string("\xFF\xFF\x00\x00\x00\x00\xFF\xFF", 8) + "255       ";

    // An empty file has no record: the background is the default one.
    TempFolder empty;
    WriteBytes(empty / "shezhi.ini", "");
    ASSERT_TRUE(StoreFontChoice(empty.path(), font, 255));
    EXPECT_EQ(ReadBytes(empty / "shezhi.ini"), std::string("\x05\x00\x00\x80", 4) + chosen);

    // A record with a background of its own keeps it.
    TempFolder folder;
    WriteBytes(folder / "shezhi.ini", Str(DefaultWith(0, std::string("\x12\x34\x56\x00", 4))));
    ASSERT_TRUE(StoreFontChoice(folder.path(), font, 255));
    EXPECT_EQ(ReadBytes(folder / "shezhi.ini"), std::string("\x12\x34\x56\x00", 4) + chosen);
    Settings expected;
    expected.backgroundColour = 0x563412;
    expected.font = font;
    expected.textColour = 255;
    EXPECT_EQ(LoadSettings(folder.path()), expected);
}

TEST(StoreBackgroundChoice, KeepsEveryOtherByteAsRead) {
    // Even fields the box could not use are kept.
    TempFolder folder;
    std::string record = std::string(4, '\0') + std::string(33, 'g');
    WriteBytes(folder / "shezhi.ini", record + "tail");
    ASSERT_TRUE(StoreBackgroundChoice(folder.path(), 0x00C0FFEE));
    EXPECT_EQ(ReadBytes(folder / "shezhi.ini"), std::string("\xEE\xFF\xC0\x00", 4) + record.substr(4) + "tail");

    // An empty file: the other fields are the defaults.
    TempFolder empty;
    WriteBytes(empty / "shezhi.ini", "");
    ASSERT_TRUE(StoreBackgroundChoice(empty.path(), 0x00FFFFFF));
    EXPECT_EQ(ReadBytes(empty / "shezhi.ini"), std::string("\xFF\xFF\xFF\x00", 4) + kDefaultRecord.substr(4));
    Settings expected;
    expected.backgroundColour = 0x00FFFFFF;
    EXPECT_EQ(LoadSettings(empty.path()), expected);
}

TEST(StoreChoices, TwoProgramsChangingSettingsLoseNoUpdate) {
    // One program chooses ever larger fonts, the other ever lighter
    // backgrounds. Each, after every choice, reads the file back: its own
    // field never goes back to an earlier value, which it would if the
    // other program wrote a record it had read before that choice.
    TempFolder folder;
    ASSERT_TRUE(StoreDefaults(folder.path()));
    constexpr int kChoices = 3000;
    const auto stored = [&] { return DecodeSettings(ReadSettingsRecord(folder.path()).value_or(SettingsBytes{})); };
    const pid_t fonts = test::StartChild([&] {
        for (int i = 1; i <= kChoices; ++i) {
            FontStyle font;
            font.pointSize = 1 + i / 2;  // sizes up to 1638 points
            if (!StoreFontChoice(folder.path(), font, 0)) return 1;
            const auto s = stored();
            if (!s || s->font.pointSize < font.pointSize) return 2;
        }
        return 0;
    });
    const pid_t backgrounds = test::StartChild([&] {
        for (int i = 1; i <= kChoices; ++i) {
            if (!StoreBackgroundChoice(folder.path(), static_cast<std::uint32_t>(i))) return 1;
            const auto s = stored();
            if (!s || s->backgroundColour < static_cast<std::uint32_t>(i)) return 2;
        }
        return 0;
    });
    EXPECT_EQ(test::WaitChild(fonts, std::chrono::minutes(1)), 0);
    EXPECT_EQ(test::WaitChild(backgrounds, std::chrono::minutes(1)), 0);
    const auto s = stored();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->font.pointSize, 1 + kChoices / 2);
    EXPECT_EQ(s->backgroundColour, static_cast<std::uint32_t>(kChoices));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(WithFontAndBackground, TouchOnlyTheirFields) {
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) {
        SettingsBytes b;
        for (auto& c : b) c = static_cast<unsigned char>(rng());
        const SettingsBytes bg = WithBackground(b, 0x123456);
        EXPECT_EQ(Str(bg).substr(4), Str(b).substr(4));
        const SettingsBytes font = WithFont(b, FontStyle{}, 0);
        EXPECT_EQ(Str(font).substr(0, 4), Str(b).substr(0, 4));
        EXPECT_EQ(Str(font).substr(4), kDefaultRecord.substr(4));
    }
}

}  // namespace
}  // namespace tl

namespace tl {
namespace {

TEST(ZiDayChange, KeptInAFileOfItsOwn) {
    test::TempFolder folder;
    constexpr auto kAt23 = ZiDayChange::kAt23;
    constexpr auto kAtMidnight = ZiDayChange::kAtMidnight;
    // Without a file the day changes at 23:00; reading creates nothing.
    EXPECT_EQ(LoadZiDayChange(folder.path()), kAt23);
    EXPECT_FALSE(fs::exists(folder / "zishi.ini"));
    ASSERT_TRUE(StoreZiDayChange(folder.path(), kAtMidnight));
    EXPECT_EQ(test::ReadBytes(folder / "zishi.ini"), "0\r\n");
    EXPECT_EQ(LoadZiDayChange(folder.path()), kAtMidnight);
    ASSERT_TRUE(StoreZiDayChange(folder.path(), kAt23));
    EXPECT_EQ(test::ReadBytes(folder / "zishi.ini"), "23\r\n");
    EXPECT_EQ(LoadZiDayChange(folder.path()), kAt23);
    // The style record is neither read nor written.
    EXPECT_FALSE(fs::exists(folder / "shezhi.ini"));
    for (const char* unusable : {"", "1", "23x", "00", "0 ", "\xFF\xFE"}) {
        test::WriteBytes(folder / "zishi.ini", unusable);
        EXPECT_EQ(LoadZiDayChange(folder.path()), kAt23) << unusable;
    }
}

TEST(ZiDayChange, ANamedPipeOrALinkIsNotWrittenThrough) {
    // A pipe is neither waited on nor written into; a link is replaced by
    // the file and its target keeps its content. Each within a time limit.
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "zishi.ini").c_str(), 0600), 0);
    EXPECT_EQ(test::RunInChild([&] { return ZiDayChangeHour(LoadZiDayChange(folder.path())); }, std::chrono::seconds(5)), 23);
    EXPECT_EQ(test::RunInChild([&] { return StoreZiDayChange(folder.path(), ZiDayChange::kAtMidnight) ? 0 : 1; }, std::chrono::seconds(5)),
              0);
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "zishi.ini")));
    EXPECT_EQ(test::ReadBytes(folder / "zishi.ini"), "0\r\n");

    fs::remove(folder / "zishi.ini");
    test::WriteBytes(folder / "target", "0\r\nthe user's own file");
    fs::create_symlink(folder / "target", folder / "zishi.ini");
    EXPECT_EQ(test::RunInChild([&] { return ZiDayChangeHour(LoadZiDayChange(folder.path())); }, std::chrono::seconds(5)), 23);
    EXPECT_EQ(test::RunInChild([&] { return StoreZiDayChange(folder.path(), ZiDayChange::kAtMidnight) ? 0 : 1; }, std::chrono::seconds(5)),
              0);
    EXPECT_EQ(test::ReadBytes(folder / "target"), "0\r\nthe user's own file");
    EXPECT_FALSE(fs::is_symlink(folder / "zishi.ini"));
    EXPECT_EQ(LoadZiDayChange(folder.path()), ZiDayChange::kAtMidnight);
}

}  // namespace
}  // namespace tl

namespace tl {
namespace {

TEST(ScriptChoice, KeptAsOneLineOfTenglanConf) {
    test::TempFolder folder;
    const fs::path conf = folder / "tenglan.conf";
    // No file: no choice, and reading creates nothing.
    EXPECT_EQ(LoadScript(folder.path()), std::nullopt);
    EXPECT_FALSE(fs::exists(conf));
    ASSERT_TRUE(StoreScript(folder.path(), Script::kHant));
    EXPECT_EQ(test::ReadBytes(conf), "script=hant\n");
    EXPECT_EQ(LoadScript(folder.path()), Script::kHant);
    // Other keys stay, the one script line is replaced.
    test::WriteBytes(conf, "width=3\r\nscript=hant\n# note\nscript = hans\n");
    EXPECT_EQ(LoadScript(folder.path()), Script::kHans);
    ASSERT_TRUE(StoreScript(folder.path(), Script::kHant));
    EXPECT_EQ(test::ReadBytes(conf), "width=3\n# note\nscript=hant\n");
    // Neither the style record nor the 子 hour file is touched.
    EXPECT_FALSE(fs::exists(folder / "shezhi.ini"));
    EXPECT_FALSE(fs::exists(folder / "zishi.ini"));
    // Lines that name no script are no choice.
    for (const char* unusable : {"", "script=", "script=big5", "scripts=hant", "\xFF\xFE"}) {
        test::WriteBytes(conf, unusable);
        EXPECT_EQ(LoadScript(folder.path()), std::nullopt) << unusable;
    }
    // A file far too large to be settings, or a folder in its place, is no
    // choice and is not replaced.
    test::WriteBytes(conf, "script=hant\n" + std::string(70 * 1024, '#'));
    EXPECT_EQ(LoadScript(folder.path()), std::nullopt);
    EXPECT_FALSE(StoreScript(folder.path(), Script::kHans));
    fs::remove(conf);
    fs::create_directory(conf);
    EXPECT_EQ(LoadScript(folder.path()), std::nullopt);
    EXPECT_FALSE(StoreScript(folder.path(), Script::kHant));
    EXPECT_TRUE(fs::is_directory(conf));
}

TEST(ScriptChoice, TraditionalForTheLocalesOfTaiwanHongKongAndMacao) {
    const std::pair<const char*, Script> cases[] = {
        {"zh_TW.UTF-8", Script::kHant}, {"zh_HK", Script::kHant},         {"zh_MO.UTF-8@x", Script::kHant},
        {"zh-TW", Script::kHant},       {"zh_Hant_MY", Script::kHant},   {"zh_CN.UTF-8", Script::kHans},
        {"zh_SG", Script::kHans},       {"zh_Hans_HK", Script::kHans},   {"zh", Script::kHans},
        {"en_HK.UTF-8", Script::kHans}, {"C.UTF-8", Script::kHans},      {"", Script::kHans},
        {"zh_TWX", Script::kHans},      {"zhx_TW", Script::kHans},
    };
    for (const auto& [locale, script] : cases) EXPECT_EQ(ScriptOfLocale(locale), script) << locale;
}

}  // namespace
}  // namespace tl
