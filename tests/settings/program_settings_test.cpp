#include "settings/program_settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/temp_folder.h"

namespace tl {
namespace {

using test::ReadBytes;
using test::TempFolder;

TEST(ProgramSettings, LinesThatArePairsCount) {
    const ProgramSettings s = ParseProgramSettings(
        "# the program's settings\r\n"
        "font = DejaVu Sans Mono\r\n"
        "\n"
        "script=简体\n"
        "Bad Key=x\n"
        "no pair here\n"
        "bell=\x07\n"
        "font=WenQuanYi Zen Hei Mono");  // the last one counts, no line end needed
    EXPECT_EQ(s, (ProgramSettings{{"font", "WenQuanYi Zen Hei Mono"}, {"script", "简体"}}));
    EXPECT_EQ(ParseProgramSettings(FormatProgramSettings(s)), s);
    EXPECT_EQ(FormatProgramSettings(s), "font=WenQuanYi Zen Hei Mono\nscript=简体\n");
    // Keys of up to 32 bytes and values of up to 1024.
    EXPECT_TRUE(IsSettingKey(std::string(32, 'k')));
    EXPECT_FALSE(IsSettingKey(std::string(33, 'k')));
    EXPECT_TRUE(IsSettingValue(std::string(1024, 'v')));
    EXPECT_FALSE(IsSettingValue(std::string(1025, 'v')));
}

TEST(ProgramSettings, StoredOneKeyAtATimeOtherKeysKept) {
    TempFolder folder;
    EXPECT_EQ(LoadProgramSettings(folder.path()), ProgramSettings{});
    ASSERT_TRUE(StoreProgramSetting(folder.path(), "script", "繁體"));
    ASSERT_TRUE(StoreFullFontName(folder.path(), "DejaVu Sans Mono"));
    EXPECT_EQ(ReadBytes(ProgramSettingsPath(folder.path())), "font=DejaVu Sans Mono\nscript=繁體\n");
    // What would not read back the same is refused, the file kept.
    for (const char* value : {"two\nlines", " padded", "\xFF"}) EXPECT_FALSE(StoreProgramSetting(folder.path(), "font", value)) << value;
    EXPECT_FALSE(StoreProgramSetting(folder.path(), "Font", "x"));
    EXPECT_EQ(LoadProgramSettings(folder.path()).at("font"), "DejaVu Sans Mono");
}

TEST(ProgramSettings, OnlyARegularFileIsRead) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(ProgramSettingsPath(folder.path()).c_str(), 0600), 0);
    EXPECT_EQ(LoadProgramSettings(folder.path()), ProgramSettings{});  // not waited on
    EXPECT_FALSE(StoreFullFontName(folder.path(), "DejaVu Sans Mono"));
}

TEST(FullFontName, TheKeptNameWhenShezhiHoldsItsFirstTenBytes) {
    const ProgramSettings kept{{"font", "DejaVu Sans Mono"}};
    const struct {
        const char* stored;
        const char* full;
    } cases[] = {
        {"DejaVu San", "DejaVu Sans Mono"},  // what shezhi.ini makes of the kept name
        {"DejaVu", "DejaVu"},                // another choice since
        {"宋体", "宋体"},                    // the defaults restored
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FullFontName(c.stored, kept), c.full) << c.stored;
    // A Chinese name is cut by its GBK bytes: 方正兰亭黑简体 keeps 5 characters.
    EXPECT_EQ(FullFontName("方正兰亭黑", {{"font", "方正兰亭黑简体"}}), "方正兰亭黑简体");
    EXPECT_EQ(FullFontName("DejaVu San", {}), "DejaVu San");

    TempFolder folder;
    ASSERT_TRUE(StoreFullFontName(folder.path(), "DejaVu Sans Mono"));
    Settings s;
    s.font.name = "DejaVu San";
    EXPECT_EQ(WithFullFontName(s, folder.path()).font.name, "DejaVu Sans Mono");
}

}  // namespace
}  // namespace tl
