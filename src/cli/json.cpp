#include "cli/json.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace tl::cli {

namespace {

// True when one of the eight bytes of x is a control character, '"' or '\\'
// (the bit tricks for "has a byte below n" and "has a zero byte").
bool NeedsEscape(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHigh) != 0; };
    return ((x - kOnes * 0x20) & ~x & kHigh) != 0 || hasZero(x ^ (kOnes * '"')) || hasZero(x ^ (kOnes * '\\'));
}

// The escape of a byte that needs one; empty for any other byte.
std::string_view EscapeOf(unsigned char c, char (&u)[6]) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default:
            if (c >= 0x20) return {};
            static constexpr char kHex[] = "0123456789abcdef";
            u[0] = '\\';
            u[1] = 'u';
            u[2] = '0';
            u[3] = '0';
            u[4] = kHex[c >> 4];
            u[5] = kHex[c & 15];
            return {u, 6};
    }
}

// Writes s as a JSON string literal at p, which has room for 6 bytes per
// byte of s and the quotes, and returns the end. Runs of bytes that need no
// escape are copied whole; eight bytes at a time are checked for any that
// does.
char* PutJsonString(char* p, std::string_view s) {
    *p++ = '"';
    const char* q = s.data();
    const char* const end = q + s.size();
    const char* run = q;
    while (q < end) {
        if (end - q >= 8) {
            std::uint64_t x;
            std::memcpy(&x, q, 8);
            if (!NeedsEscape(x)) {
                q += 8;
                continue;
            }
        }
        char u[6];
        const std::string_view escape = EscapeOf(static_cast<unsigned char>(*q), u);
        if (escape.empty()) {
            ++q;
            continue;
        }
        std::memcpy(p, run, static_cast<std::size_t>(q - run));
        p += q - run;
        std::memcpy(p, escape.data(), escape.size());
        p += escape.size();
        run = ++q;
    }
    std::memcpy(p, run, static_cast<std::size_t>(end - run));
    p += end - run;
    *p++ = '"';
    return p;
}

}  // namespace

std::string JsonString(std::string_view s) {
    std::string out(6 * s.size() + 2, '\0');
    out.resize(static_cast<std::size_t>(PutJsonString(out.data(), s) - out.data()));
    return out;
}

JsonWriter& JsonWriter::String(std::string_view v) {
    Room(6 * v.size() + 3);
    Separate();
    p_ = PutJsonString(p_, v);
    return *this;
}

void JsonWriter::Grow(std::size_t n) {
    const std::size_t at = static_cast<std::size_t>(p_ - out_->data());
    // Room for as much again as this writer has written, at least kGrowth.
    out_->resize(at + n + std::max(kGrowth, at - start_));
    p_ = out_->data() + at;
    end_ = out_->data() + out_->size();
}

}  // namespace tl::cli
