#include "text/text_encoding.h"

#include "text/gbk.h"
#include "text/utf8.h"

namespace tl {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Byte length of the UTF-8 character a lead byte announces; 0 for a byte
// that cannot start one.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Well-formed characters pass, every other byte becomes U+FFFD.
std::string RepairUtf8(std::string_view s) {
    if (IsValidUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() + 16);
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(s[i]));
        if (n != 0 && i + n <= s.size() && IsValidUtf8(s.substr(i, n))) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            out.append(kReplacementUtf8);
            ++i;
        }
    }
    return out;
}

}  // namespace

TextEncoding ImportedTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) return TextEncoding::Utf8;
    return !IsAscii(bytes) && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030;
}

std::string DecodeImportedText(std::string_view bytes) {
    if (ImportedTextEncoding(bytes) == TextEncoding::Gb18030) return GbkToUtf8(bytes);
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return RepairUtf8(bytes);
}

}  // namespace tl
