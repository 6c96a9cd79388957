#include "text/utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "report/text_build.h"

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

// The report writer: pieces of every length, far past the room made ahead
// and past what a lent span holds, come out whole and in order.
TEST(TextWriter, WritesEveryPieceWholeWhateverItsLength) {
    std::string out = "  姓名:";
    std::string expected = out;
    const std::string label = std::string(5000, '-') + "腾岚";  // far longer than any label
    static constexpr char kPadded[TextSpan::kBlock + 1] = "0123456789abcdef";
    {
        TextWriter w(out, 8);
        for (std::size_t n = 0; n <= 40; ++n) {
            const std::string piece(n, static_cast<char>('a' + n % 26));
            w.Put(piece);
            expected += piece;
        }
        w.Put(label);
        w.PutSpaces(100);
        w.PutInt(LONG_MIN);
        w.PutInt2(7);
        w.PutInt2(2024);
        expected += label + std::string(100, ' ') + std::to_string(LONG_MIN) + "07" + "2024";
        // A lent span too short for its piece: the piece is written again.
        w.PutThrough([&](TextSpan span) {
            for (int i = 0; i < 300; ++i) span.Put("冲年");
            span.PutBlock(kPadded, 5);
            span.PutBlock(label.data(), label.size());
            return span.end();
        });
        for (int i = 0; i < 300; ++i) expected += "冲年";
        expected += "01234" + label;
    }
    EXPECT_EQ(out, expected);
}

TEST(IsValidUtf8, AcceptsWellFormedRejectsTheRest) {
    EXPECT_TRUE(IsValidUtf8(""));
    // The first and last code point of each length, and around the surrogates.
    const char* good[] = {
        "张三 abc ※▲ 𝄞", "\x7F",         "\xC2\x80",         "\xDF\xBF",         "\xE0\xA0\x80",
        "\xED\x9F\xBF",       "\xEE\x80\x80", "\xEF\xBF\xBF",     "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF",
    };
    for (const char* g : good) EXPECT_TRUE(IsValidUtf8(g)) << g;
    const char* bad[] = {
        "\xC3\x28",          // second byte not a continuation
        "\xE5\xBC",          // cut short
        "\xC0\xAF",          // overlong '/'
        "\xC1\xBF",          // overlong U+007F
        "\xE0\x80\xAF",      // overlong
        "\xE0\x9F\xBF",      // overlong U+07FF
        "\xF0\x8F\xBF\xBF",  // overlong U+FFFF
        "\xED\xA0\x80",      // surrogate
        "\xED\xBF\xBF",      // surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xFF",
        "\x80",
    };
    for (const char* b : bad) EXPECT_FALSE(IsValidUtf8(b)) << b;
    // Cut short where the bytes beyond the view would complete it.
    EXPECT_FALSE(IsValidUtf8(std::string_view("\xE5\xBC\x80", 2)));
}

}  // namespace
}  // namespace tl
