#include "chart/output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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

TEST(ExtraTextAppendix, CrLfThenTheText) {
    EXPECT_EQ(ExtraTextAppendix("  预测:\r\n"), "\r\n  预测:\r\n");
    EXPECT_EQ(ExtraTextAppendix(""), "\r\n");
    // Appending twice leaves the extra text twice.
    std::string box = "报告";
    box += ExtraTextAppendix("注");
    box += ExtraTextAppendix("注");
    EXPECT_EQ(box, "报告\r\n注\r\n注");
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

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WriteGbkTextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tenglan_output_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(WriteGbkTextFileTest, WritesGbkWithCrLf) {
    const auto path = dir_ / "out.txt";
    ASSERT_TRUE(WriteGbkTextFile(path, "甲子\n乙丑\r\n"));
    EXPECT_EQ(ReadBytes(path), "\xBC\xD7\xD7\xD3\r\n\xD2\xD2\xB3\xF3\r\n");
}

TEST_F(WriteGbkTextFileTest, ReplacesAnExistingFile) {
    const auto path = dir_ / "out.txt";
    ASSERT_TRUE(WriteGbkTextFile(path, std::string(1000, 'x')));
    ASSERT_TRUE(WriteGbkTextFile(path, "ab"));
    EXPECT_EQ(ReadBytes(path), "ab");
}

TEST_F(WriteGbkTextFileTest, FailsWithoutTheFolder) {
    EXPECT_FALSE(WriteGbkTextFile(dir_ / "missing" / "out.txt", "ab"));
    EXPECT_FALSE(WriteGbkTextFile(dir_, "ab"));  // a folder is not a file
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

}  // namespace
}  // namespace tl
