// GBK (code page 936) at the file boundary. Everything inside the program is
// UTF-8; files on disk are GBK. Conversions never fail: what cannot be
// converted is replaced, so a damaged file still reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tl {

// UTF-8 → GBK. A character GBK cannot hold, and a byte that is not UTF-8,
// becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);
// GBK → UTF-8. A byte sequence that is not GBK becomes U+FFFD; the result is
// always valid UTF-8.
std::string GbkToUtf8(std::string_view gbk);

// The two conversions with their converters kept open, for many short texts
// in a row (listing a large archive). Not shareable between threads.
class GbkCodec {
public:
    GbkCodec() = default;
    ~GbkCodec();
    GbkCodec(const GbkCodec&) = delete;
    GbkCodec& operator=(const GbkCodec&) = delete;

    std::string ToGbk(std::string_view utf8);
    std::string ToUtf8(std::string_view gbk);

private:
    void* toGbk_ = nullptr;   // iconv_t, opened on first use
    void* toUtf8_ = nullptr;  // iconv_t, opened on first use
    bool toGbkFailed_ = false;
    bool toUtf8Failed_ = false;
};

// Byte length of the GBK character that starts with `lead`: 2 for a lead
// byte 0x81..0xFE, else 1.
constexpr std::size_t GbkCharLength(unsigned char lead) { return lead >= 0x81 && lead <= 0xFE ? 2 : 1; }

// A fixed-width text field of a record: the GBK bytes cut to `width` bytes
// or padded with spaces (0x20) to it. A cut never splits a two-byte
// character: the half character is dropped and its byte padded.
std::string FitGbkBytes(std::string_view gbk, std::size_t width);
// The text a fixed-width field holds: its bytes up to the first NUL, as
// UTF-8. Padding spaces are kept.
std::string GbkFieldText(std::string_view field, GbkCodec& codec);

}  // namespace tl
