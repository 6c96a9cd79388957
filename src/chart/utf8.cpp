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
