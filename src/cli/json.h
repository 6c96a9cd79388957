// A small, fast JSON writer for the command-line tool's output.
#pragma once

#include <string>
#include <string_view>

namespace tl::cli {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view s);

// Writes one JSON object or array at the end of a string. Keys and values
// are added in order; commas are placed automatically. Keys are the
// program's own ASCII names and are written as they are.
class JsonWriter {
public:
    // Writes into a string of its own (str()).
    JsonWriter() : out_(&own_) {}
    // Appends to `out`, which must outlive the writer.
    explicit JsonWriter(std::string& out) : out_(&out) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view k);
    JsonWriter& String(std::string_view v);
    JsonWriter& Int(long v);
    JsonWriter& Bool(bool v);
    JsonWriter& Null();
    JsonWriter& Raw(std::string_view json);
    const std::string& str() const { return *out_; }

private:
    void Separate() {
        if (needComma_) *out_ += ',';
        needComma_ = true;
    }
    std::string own_;
    std::string* out_;
    bool needComma_ = false;
};

}  // namespace tl::cli
