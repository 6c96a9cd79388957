#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace tl {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8Length(std::string_view s) {
    // Every byte but a continuation byte (10xxxxxx) starts a character.
    // Eight bytes at a time: a continuation byte has bit 7 set and bit 6
    // clear; the flags, moved to bit 0 of each byte, are summed by one
    // multiplication into the top byte.
    std::size_t continuation = 0;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, s.data() + i, 8);
        const std::uint64_t flags = (x & ~(x << 1) & 0x8080808080808080ull) >> 7;
        continuation += static_cast<std::size_t>((flags * 0x0101010101010101ull) >> 56);
    }
    for (; i < s.size(); ++i) continuation += IsContinuation(static_cast<unsigned char>(s[i]));
    return s.size() - continuation;
}

std::string Utf8Left(std::string_view s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
            if (chars == n) return std::string(s.substr(0, i));
            ++chars;
        }
    }
    return std::string(s);
}

std::string FitChars(std::string_view s, std::size_t n) {
    std::string out = Utf8Left(s, n);
    const std::size_t len = Utf8Length(out);
    if (len < n) out.append(n - len, ' ');
    return out;
}

std::size_t DisplayWidth(std::string_view s) {
    std::size_t w = 0;
    for (unsigned char c : s) {
        if (c < 0x80) ++w;
        else if (!IsContinuation(c)) w += 2;
    }
    return w;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned int cp = 0;
        unsigned int min = 0;
        if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; min = 0x10000; }
        else return false;
        if (n - i <= static_cast<std::size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if (!IsContinuation(d)) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string Trim(std::string_view s) {
    auto blank_at_front = [&](std::string_view v) -> std::size_t {
        if (!v.empty() && (v.front() == ' ' || v.front() == '\t')) return 1;
        if (v.substr(0, 3) == "\u3000") return 3;
        return 0;
    };
    auto blank_at_back = [&](std::string_view v) -> std::size_t {
        if (!v.empty() && (v.back() == ' ' || v.back() == '\t')) return 1;
        if (v.size() >= 3 && v.substr(v.size() - 3) == "\u3000") return 3;
        return 0;
    };
    while (std::size_t k = blank_at_front(s)) s.remove_prefix(k);
    while (std::size_t k = blank_at_back(s)) s.remove_suffix(k);
    return std::string(s);
}

}  // namespace tl
