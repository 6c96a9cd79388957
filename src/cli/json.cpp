#include "cli/json.h"

#include <cstdint>
#include <charconv>
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

// Appends s as a JSON string literal. Runs of bytes that need no escape are
// copied whole; eight bytes at a time are checked for any that does.
void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    const char* p = s.data();
    const char* const end = p + s.size();
    const char* run = p;
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t x;
            std::memcpy(&x, p, 8);
            if (!NeedsEscape(x)) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++p;
            continue;
        }
        out.append(run, p);
        run = ++p;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: {
                static constexpr char kHex[] = "0123456789abcdef";
                const char u[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                out.append(u, 6);
            }
        }
    }
    out.append(run, end);
    out += '"';
}

}  // namespace

std::string JsonString(std::string_view s) {
    std::string out;
    AppendJsonString(out, s);
    return out;
}

JsonWriter& JsonWriter::BeginObject() { Separate(); *out_ += '{'; needComma_ = false; return *this; }
JsonWriter& JsonWriter::EndObject() { *out_ += '}'; needComma_ = true; return *this; }
JsonWriter& JsonWriter::BeginArray() { Separate(); *out_ += '['; needComma_ = false; return *this; }
JsonWriter& JsonWriter::EndArray() { *out_ += ']'; needComma_ = true; return *this; }

JsonWriter& JsonWriter::Key(std::string_view k) {
    Separate();
    // ,"key": in one piece
    char buf[64];
    if (k.size() + 3 <= sizeof buf) {
        buf[0] = '"';
        std::memcpy(buf + 1, k.data(), k.size());
        buf[k.size() + 1] = '"';
        buf[k.size() + 2] = ':';
        out_->append(buf, k.size() + 3);
    } else {
        AppendJsonString(*out_, k);
        *out_ += ':';
    }
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view v) { Separate(); AppendJsonString(*out_, v); return *this; }

JsonWriter& JsonWriter::Int(long v) {
    Separate();
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_->append(buf, r.ptr);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool v) { Separate(); *out_ += v ? "true" : "false"; return *this; }
JsonWriter& JsonWriter::Null() { Separate(); *out_ += "null"; return *this; }
JsonWriter& JsonWriter::Raw(std::string_view json) { Separate(); *out_ += json; return *this; }

}  // namespace tl::cli
