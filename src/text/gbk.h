// GBK at the file boundary, read and written as GB18030, the national
// standard that contains GBK: every GBK byte sequence reads as it always has
// and every character GBK holds is written with the same bytes, while a
// character outside GBK (a rare name character such as 䶮, a character
// beyond the basic plane) is kept in the two- or four-byte form GB18030
// gives it instead of being lost. The functions keep their GBK names.
// Everything inside the program is UTF-8. Conversions never fail: what
// cannot be converted is replaced, so a damaged file still reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tl {

// Whether the text can be written as GB18030 on this system: plain ASCII
// always, anything else only where the system has its GB18030 converter
// (glibc's gconv modules). Without it every Chinese character would be
// written as '?', so nothing is to be saved then.
bool CanWriteGbk(std::string_view utf8);
inline constexpr std::string_view kNoGbkConverterMessage =
    "保存失败: 系统缺少 GB18030 编码转换 (glibc 的 gconv 模块), 中文会被存成问号. 文件没有写入.";

// UTF-8 → GB18030. A byte that is not UTF-8 (and a surrogate) becomes '?';
// the euro sign is the single byte 0x80, as GBK files hold it.
std::string Utf8ToGbk(std::string_view utf8);
// GB18030 → UTF-8. A byte sequence that is not GB18030 becomes U+FFFD, the
// single byte 0x80 the euro sign; the result is always valid UTF-8.
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

// Byte length of the GB18030 character that starts `bytes`: 4 for a lead
// byte 0x81..0xFE followed by a digit 0x30..0x39, 2 for any other lead
// byte 0x81..0xFE, else 1 (0 for no bytes).
constexpr std::size_t GbCharLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x81 || lead > 0xFE) return 1;
    return bytes.size() > 1 && bytes[1] >= '0' && bytes[1] <= '9' ? 4 : 2;
}

// A fixed-width text field of a record: the GB18030 bytes cut to `width`
// bytes or padded with spaces (0x20) to it. A cut never splits a two- or
// four-byte character: the part character is dropped and its bytes padded.
std::string FitGbkBytes(std::string_view gbk, std::size_t width);
// The text a fixed-width field holds: its bytes up to the first NUL, as
// UTF-8. Padding spaces are kept.
std::string GbkFieldText(std::string_view field, GbkCodec& codec);

}  // namespace tl
