#include "chart/output.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

TEST(IsEmptyReport, OnlySpacesCount) {
    struct Case {
        const char* text;
        bool empty;
    };
    const Case cases[] = {
        {"", true},
        {"    ", true},
        {"\r\n", false},  // line breaks are not blanks here
        {"  \r\n  ", false},
        {"\t", false},
        {"腾岚八字排盘系统:", false},
        {"  x  ", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsEmptyReport(c.text), c.empty) << '"' << c.text << '"';
}

TEST(ExtraTextAppendix, CrLfThenTheTextUnlessItIsBlank) {
    EXPECT_EQ(ExtraTextAppendix("  预测:\r\n"), "\r\n  预测:\r\n");
    EXPECT_EQ(ExtraTextAppendix("注"), "\r\n注");
    // An empty info text adds nothing, not even a line end.
    for (const char* blank : {"", "  ", "\r\n", " \t\r\n  "}) EXPECT_EQ(ExtraTextAppendix(blank), "") << blank;
}

TEST(ToCrLf, EveryLineEnd) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb"}, {"a\nb", "a\r\nb"},     {"a\rb", "a\r\nb"},         {"a\n\nb", "a\r\n\r\nb"},
        {"a\r\r\n", "a\r\n\r\n"}, {"\n", "\r\n"}, {"", ""}, {"甲\n乙", "甲\r\n乙"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToCrLf(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tl
