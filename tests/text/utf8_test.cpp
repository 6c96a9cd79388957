#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

// Characters counted one byte at a time: every byte but 10xxxxxx starts one.
std::size_t CountByBytes(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(Utf8Length, CountsCharactersAtEveryLengthAndAlignment) {
    const std::string pieces[] = {"a", "腾", "岚", "\r\n", "※", "▲", "é", "𝄞", " "};
    std::string s;
    unsigned seed = 5;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1103515245u + 12345u;
        s += pieces[(seed >> 8) % std::size(pieces)];
        for (std::size_t from = 0; from < 9 && from <= s.size(); ++from) {
            const std::string part = s.substr(from);
            ASSERT_EQ(Utf8Length(part), CountByBytes(part)) << i << " " << from;
        }
    }
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("  腾岚八字排盘\r\n"), 10u);
}

TEST(IsValidUtf8, AcceptsWellFormedRejectsTheRest) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("张三 abc ※▲ 𝄞"));
    const char* bad[] = {
        "\xC3\x28",          // second byte not a continuation
        "\xE5\xBC",          // cut short
        "\xC0\xAF",          // overlong '/'
        "\xE0\x80\xAF",      // overlong
        "\xED\xA0\x80",      // surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xFF",
        "\x80",
    };
    for (const char* b : bad) EXPECT_FALSE(IsValidUtf8(b)) << b;
}

}  // namespace
}  // namespace tl
