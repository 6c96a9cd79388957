#include "cli/json.h"

#include <cstdint>
#include <cstdio>
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
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i + 8 <= s.size()) {
            std::uint64_t x;
            std::memcpy(&x, s.data() + i, 8);
            if (!NeedsEscape(x)) {
                i += 7;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            }
        }
    }
    out.append(s.data() + run, s.size() - run);
    out += '"';
}

}  // namespace

std::string JsonString(std::string_view s) {
    std::string out;
    AppendJsonString(out, s);
    return out;
}

void JsonWriter::Separate() {
    if (needComma_) out_ += ',';
    needComma_ = true;
}

JsonWriter& JsonWriter::BeginObject() { Separate(); out_ += '{'; needComma_ = false; return *this; }
JsonWriter& JsonWriter::EndObject() { out_ += '}'; needComma_ = true; return *this; }
JsonWriter& JsonWriter::BeginArray() { Separate(); out_ += '['; needComma_ = false; return *this; }
JsonWriter& JsonWriter::EndArray() { out_ += ']'; needComma_ = true; return *this; }

JsonWriter& JsonWriter::Key(std::string_view k) {
    Separate();
    AppendJsonString(out_, k);
    out_ += ':';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view v) { Separate(); AppendJsonString(out_, v); return *this; }
JsonWriter& JsonWriter::Int(long v) { Separate(); out_ += std::to_string(v); return *this; }
JsonWriter& JsonWriter::Bool(bool v) { Separate(); out_ += v ? "true" : "false"; return *this; }
JsonWriter& JsonWriter::Raw(std::string_view json) { Separate(); out_ += json; return *this; }

}  // namespace tl::cli
