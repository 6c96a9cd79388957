#include "text/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace tl {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD
// The euro sign: GBK files hold it as the single byte 0x80, which GB18030
// has no meaning for (GB18030 writes it as A2 E3, also read as the euro).
constexpr std::string_view kEuroUtf8 = "\xE2\x82\xAC";
constexpr unsigned char kGbkEuro = 0x80;
constexpr const char* kFileEncoding = "GB18030";

iconv_t AsIconv(void* p) { return static_cast<iconv_t>(p); }

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Opens a converter once; remembers a failure so it is not retried for
// every text.
iconv_t Open(void*& slot, bool& failed, const char* to, const char* from) {
    if (slot == nullptr && !failed) {
        const iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) failed = true;
        else slot = cd;
    }
    return AsIconv(slot);
}

// Runs `cd` over `in`. When iconv stops at a sequence it cannot convert, the
// sequence is replaced by `bad` and skipped: a whole UTF-8 character when
// reading UTF-8, a single byte when reading GB18030 (the byte after a bad
// lead byte is tried again on its own), where the byte 0x80 is the euro.
std::string Run(iconv_t cd, std::string_view in, std::string_view bad, bool fromUtf8) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char buf[1024];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        const std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ, or EINVAL for a sequence cut off at the end of the input.
        if (!fromUtf8 && static_cast<unsigned char>(*src) == kGbkEuro) out.append(kEuroUtf8);
        else out.append(bad);
        std::size_t skip = 1;
        if (fromUtf8)
            while (skip < left && IsUtf8Continuation(static_cast<unsigned char>(src[skip]))) ++skip;
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush any shift state (none for these encodings, but harmless).
    char* dst = buf;
    std::size_t room = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return out;
}

// Without a converter (no gconv modules on the system) ASCII still passes;
// every other character is replaced.
std::string AsciiOnlyToGbk(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) out += static_cast<char>(c);
        else if (!IsUtf8Continuation(c)) out += '?';
    }
    return out;
}

std::string AsciiOnlyToUtf8(std::string_view gbk) {
    std::string out;
    for (std::size_t i = 0; i < gbk.size();) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            out += kReplacementUtf8;
            i += GbCharLength(gbk.substr(i));
        }
    }
    return out;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

GbkCodec::~GbkCodec() {
    if (toGbk_ != nullptr) iconv_close(AsIconv(toGbk_));
    if (toUtf8_ != nullptr) iconv_close(AsIconv(toUtf8_));
}

std::string GbkCodec::ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    const iconv_t cd = Open(toGbk_, toGbkFailed_, kFileEncoding, "UTF-8");
    if (cd == nullptr) return AsciiOnlyToGbk(utf8);
    // Each euro sign becomes the GBK byte; the text between is converted.
    std::string out;
    for (std::size_t from = 0;;) {
        const std::size_t euro = utf8.find(kEuroUtf8, from);
        out += Run(cd, utf8.substr(from, euro == std::string_view::npos ? euro : euro - from), "?", true);
        if (euro == std::string_view::npos) break;
        out += static_cast<char>(kGbkEuro);
        from = euro + kEuroUtf8.size();
    }
    return out;
}

std::string GbkCodec::ToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    const iconv_t cd = Open(toUtf8_, toUtf8Failed_, "UTF-8", kFileEncoding);
    if (cd == nullptr) return AsciiOnlyToUtf8(gbk);
    return Run(cd, gbk, kReplacementUtf8, false);
}

bool CanWriteGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return true;
    static const bool available = [] {
        const iconv_t cd = iconv_open(kFileEncoding, "UTF-8");
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
        iconv_close(cd);
        return true;
    }();
    return available;
}

std::string Utf8ToGbk(std::string_view utf8) {
    GbkCodec codec;
    return codec.ToGbk(utf8);
}

std::string GbkToUtf8(std::string_view gbk) {
    GbkCodec codec;
    return codec.ToUtf8(gbk);
}

std::string FitGbkBytes(std::string_view gbk, std::size_t width) {
    std::size_t end = 0;
    while (end < gbk.size()) {
        const std::size_t len = GbCharLength(gbk.substr(end));
        if (end + len > width || end + len > gbk.size()) break;
        end += len;
    }
    std::string out(gbk.substr(0, end));
    out.append(width - end, ' ');
    return out;
}

std::string GbkFieldText(std::string_view field, GbkCodec& codec) {
    const std::size_t nul = field.find('\0');
    return codec.ToUtf8(field.substr(0, nul));
}

}  // namespace tl
