// Small helpers for building report text in place: the report is laid out
// with counted spaces and CR LF line ends, and is built by appending to one
// buffer so that a whole report costs a handful of allocations.
#pragma once

#include <charconv>
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

}  // namespace tl
