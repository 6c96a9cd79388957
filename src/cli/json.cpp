#include "cli/json.h"

#include <cstdio>

namespace tl::cli {

std::string JsonString(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
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
    out_ += JsonString(k);
    out_ += ':';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view v) { Separate(); out_ += JsonString(v); return *this; }
JsonWriter& JsonWriter::Int(long v) { Separate(); out_ += std::to_string(v); return *this; }
JsonWriter& JsonWriter::Bool(bool v) { Separate(); out_ += v ? "true" : "false"; return *this; }
JsonWriter& JsonWriter::Raw(std::string_view json) { Separate(); out_ += json; return *this; }

}  // namespace tl::cli
