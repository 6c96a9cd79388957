// Small helpers for building report text in place: the report is laid out
// with counted spaces and CR LF line ends, and is built by appending to one
// buffer so that a whole report costs a handful of allocations.
#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace tl {

inline constexpr std::string_view kCrLf = "\r\n";

inline void AppendSpaces(std::string& out, int n) {
    if (n > 0) out.append(static_cast<std::size_t>(n), ' ');
}

// A decimal integer without leading zeros.
inline void AppendInt(std::string& out, long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// A decimal integer with at least two digits (4 → "04", 105 → "105").
inline void AppendInt2(std::string& out, long v) {
    if (v >= 0 && v < 10) out += '0';
    AppendInt(out, v);
}

// Writing one report line into a stack buffer through a cursor: each Put
// copies a piece and returns the new end, so the cursor stays in a register
// and short pieces are copied without a library call. The caller sizes the
// buffer for the longest line it writes.
inline char* Put(char* p, std::string_view s) {
    const std::size_t n = s.size();
    const char* src = s.data();
    if (n >= 8 && n <= 16) {
        std::memcpy(p, src, 8);
        std::memcpy(p + n - 8, src + n - 8, 8);
    } else if (n >= 4 && n < 8) {
        std::memcpy(p, src, 4);
        std::memcpy(p + n - 4, src + n - 4, 4);
    } else if (n < 4) {
        if (n > 0) p[0] = src[0];
        if (n > 1) p[1] = src[1];
        if (n > 2) p[2] = src[2];
    } else if (n <= 32) {
        std::memcpy(p, src, 16);
        std::memcpy(p + n - 16, src + n - 16, 16);
    } else {
        std::memcpy(p, src, n);
    }
    return p + n;
}

inline char* PutSpaces(char* p, int n) {
    static constexpr std::string_view kSpaces = "                                                                ";
    while (n > 0) {
        const int k = n < static_cast<int>(kSpaces.size()) ? n : static_cast<int>(kSpaces.size());
        p = Put(p, kSpaces.substr(0, static_cast<std::size_t>(k)));
        n -= k;
    }
    return p;
}

// "00" "01" .. "99": two digits at a time.
struct DigitPairs {
    char chars[200];
};
inline constexpr DigitPairs kDigitPairs = [] {
    DigitPairs d{};
    for (int i = 0; i < 100; ++i) {
        d.chars[2 * i] = static_cast<char>('0' + i / 10);
        d.chars[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return d;
}();

// A decimal integer without leading zeros (at most 20 characters).
inline char* PutInt(char* p, long v) {
    if (v >= 0 && v < 10000) {  // ages, years and the parts of a date
        const int hi = static_cast<int>(v / 100);
        const int lo = static_cast<int>(v % 100);
        if (hi == 0) {
            if (lo < 10) {
                *p = static_cast<char>('0' + lo);
                return p + 1;
            }
            std::memcpy(p, kDigitPairs.chars + 2 * lo, 2);
            return p + 2;
        }
        if (hi < 10) {
            *p++ = static_cast<char>('0' + hi);
        } else {
            std::memcpy(p, kDigitPairs.chars + 2 * hi, 2);
            p += 2;
        }
        std::memcpy(p, kDigitPairs.chars + 2 * lo, 2);
        return p + 2;
    }
    return std::to_chars(p, p + 24, v).ptr;
}

// A decimal integer with at least two digits.
inline char* PutInt2(char* p, long v) {
    if (v >= 0 && v < 10) *p++ = '0';
    return PutInt(p, v);
}

}  // namespace tl
