#include "text/gbk.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <random>
#include <string>

#include "text/text_encoding.h"

namespace tl {
namespace {

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

TEST(Gbk, ConvertsBothWays) {
    struct Case {
        const char* utf8;
        const char* gbk;
    };
    const Case cases[] = {
        {"张三", "\xD5\xC5\xC8\xFD"},
        {"男", "\xC4\xD0"},
        {"宋体", "\xCB\xCE\xCC\xE5"},
        {"1北京,北京", "1\xB1\xB1\xBE\xA9,\xB1\xB1\xBE\xA9"},
        {"ab\r\n", "ab\r\n"},
        {"", ""},
        // Outside GBK: two bytes for 䶮, four beyond the basic plane.
        {"刘䶮", "\xC1\xF5\xFE\x9F"},
        {"a😀b", "a\x94\x39\xFC\x36" "b"},
        {"€", "\x80"},  // the euro as GBK files hold it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.utf8;
    }
}

TEST(Gbk, BytesThatAreNotGbkBecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a" + fffd + "b");          // never a lead byte
    EXPECT_EQ(GbkToUtf8("\xD5\xC5\xC8"), "张" + fffd);            // cut-off character at the end
    EXPECT_EQ(GbkToUtf8("\x81\x20z"), fffd + " z");               // lead byte without a trail byte
    EXPECT_EQ(GbkToUtf8(std::string("\0\xD5\xC5", 3)), std::string("\0张", 4));  // NUL passes as NUL
}

TEST(Gbk, BytesThatAreNotUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("a\xC0z"), "a?z");        // not UTF-8
    EXPECT_EQ(Utf8ToGbk("\xE5\xBC"), "?");        // cut-off UTF-8 character
    EXPECT_EQ(Utf8ToGbk("\xED\xA0\x80€"), "?\x80");  // a surrogate
    EXPECT_EQ(GbkToUtf8("\xA2\xE3"), "€");        // the euro in GB18030's own form reads too
}

// glibc's GBK converter, the codec the files were always read and written
// with, one text at a time; empty when it cannot convert.
std::optional<std::string> ByGbk(const char* to, const char* from, const std::string& in) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(16, '\0');
    char* src = const_cast<char*>(in.data());
    char* dst = out.data();
    std::size_t left = in.size(), room = out.size();
    const std::size_t r = iconv(cd, &src, &left, &dst, &room);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1) || left != 0) return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

TEST(Gbk, EveryGbkSequenceReadsAndEveryGbkCharacterWritesAsWithGbk) {
    int compared = 0;
    for (int lead = 0x80; lead <= 0xFE; ++lead) {
        for (int trail = lead == 0x80 ? -1 : 0x40; trail <= 0xFE; ++trail) {
            std::string bytes(1, static_cast<char>(lead));
            if (trail >= 0) bytes += static_cast<char>(trail);
            const std::optional<std::string> utf8 = ByGbk("UTF-8", "GBK", bytes);
            if (!utf8) continue;
            ASSERT_EQ(GbkToUtf8(bytes), *utf8) << lead << " " << trail;
            ASSERT_EQ(Utf8ToGbk(*utf8), ByGbk("GBK", "UTF-8", *utf8)) << lead << " " << trail;
            ++compared;
        }
    }
    EXPECT_GT(compared, 21000);
}

TEST(Gbk, RandomBytesAlwaysGiveValidUtf8) {
    std::mt19937 rng(7);
    GbkCodec codec;
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(static_cast<std::size_t>(rng() % 40), '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        const std::string utf8 = codec.ToUtf8(bytes);
        ASSERT_TRUE(IsValidUtf8(utf8));
        EXPECT_EQ(utf8, GbkToUtf8(bytes));  // a kept-open converter gives the same result
        // Each UTF-8 character or undecodable byte gives at most twice as
        // many GB18030 bytes as it had.
        EXPECT_LE(codec.ToGbk(bytes).size(), 2 * bytes.size());
    }
}

TEST(FitGbkBytes, CutsWholeCharactersAndPads) {
    struct Case {
        std::string gbk;
        std::size_t width;
        std::string expected;
    };
    const std::string zhangsan = Utf8ToGbk("张三");
    const Case cases[] = {
        {zhangsan, 12, zhangsan + std::string(8, ' ')},
        {Utf8ToGbk("欧阳修文武双全"), 12, Utf8ToGbk("欧阳修文武双")},
        // One-byte and two-byte characters mixed: the 12th byte would be the
        // first half of 全, so it is dropped and padded.
        {Utf8ToGbk("a欧阳修文武双全"), 12, Utf8ToGbk("a欧阳修文武") + " "},
        {Utf8ToGbk("男 "), 2, Utf8ToGbk("男")},
        {Utf8ToGbk("男"), 1, " "},
        {"", 3, "   "},
        {std::string(3, '\0'), 2, std::string(2, '\0')},
        {"\xD5", 2, "  "},  // a dangling lead byte is not a character
        // A four-byte character is never split.
        {Utf8ToGbk("张😀"), 5, Utf8ToGbk("张") + "   "},
        {Utf8ToGbk("张😀"), 6, Utf8ToGbk("张😀")},
        {Utf8ToGbk("刘䶮"), 12, Utf8ToGbk("刘䶮") + std::string(8, ' ')},
    };
    for (const auto& c : cases) EXPECT_EQ(FitGbkBytes(c.gbk, c.width), c.expected) << GbkToUtf8(c.gbk);
}

TEST(GbkFieldText, EndsAtTheFirstNul) {
    GbkCodec codec;
    EXPECT_EQ(GbkFieldText(std::string("\xD5\xC5\0\xC8\xFD", 5), codec), "张");
    EXPECT_EQ(GbkFieldText(std::string(12, '\0'), codec), "");
    EXPECT_EQ(GbkFieldText("\xD5\xC5  ", codec), "张  ");
}

TEST(ImportedText, Utf8WhenMarkedOrWellFormedElseGb18030) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string text;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF张三\r\n", TextEncoding::Utf8, "张三\r\n"},  // the mark is dropped
        {"张三 €\r\n", TextEncoding::Utf8, "张三 €\r\n"},              // well-formed, not ASCII
        {"\xEF\xBB\xBF" "a\xD5\xC5", TextEncoding::Utf8, "a\xEF\xBF\xBD\xEF\xBF\xBD"},  // marked: not GBK
        {Utf8ToGbk("张三\r\n"), TextEncoding::Gb18030, "张三\r\n"},
        {Utf8ToGbk("刘䶮"), TextEncoding::Gb18030, "刘䶮"},
        {"plain ASCII\r\n", TextEncoding::Gb18030, "plain ASCII\r\n"},
        {"", TextEncoding::Gb18030, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImportedTextEncoding(c.bytes), c.encoding) << c.text;
        EXPECT_EQ(DecodeImportedText(c.bytes), c.text);
    }
}

}  // namespace
}  // namespace tl
