#include "chart/utf8.h"

namespace tl {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if (!IsContinuation(c)) ++n;
    return n;
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
