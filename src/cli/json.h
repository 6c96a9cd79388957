// A minimal JSON writer for the command-line tool's output.
#pragma once

#include <string>
#include <string_view>

namespace tl::cli {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view s);

// Builds one JSON object or array into a string. Keys and values are added
// in order; commas are placed automatically.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view k);
    JsonWriter& String(std::string_view v);
    JsonWriter& Int(long v);
    JsonWriter& Bool(bool v);
    JsonWriter& Raw(std::string_view json);
    const std::string& str() const { return out_; }

private:
    void Separate();
    std::string out_;
    bool needComma_ = false;
};

}  // namespace tl::cli
