// A small, fast JSON writer for the command-line tool's output: one line of
// `batch` is a few hundred short pieces, so the writer keeps a cursor in
// room it has made ahead in the string and copies each piece there.
#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace tl::cli {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view s);

// Writes one JSON object or array at the end of a string. Keys and values
// are added in order; commas are placed automatically. Keys are the
// program's own ASCII names and are written as they are. While the writer
// is open the string holds room not yet written; Finish (or the end of the
// writer) cuts it back, and nothing else may touch the string meanwhile.
class JsonWriter {
public:
    // Writes into a string of its own (str()).
    JsonWriter() : JsonWriter(own_) {}
    // Appends to `out`, which must outlive the writer.
    explicit JsonWriter(std::string& out) : out_(&out), start_(out.size()) {
        const std::size_t at = out.size();
        out.resize(at + kGrowth);
        p_ = out.data() + at;
        end_ = out.data() + out.size();
    }
    ~JsonWriter() { Finish(); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }

    JsonWriter& Key(std::string_view k) {
        Room(k.size() + 4);
        if (needComma_) *p_++ = ',';
        *p_++ = '"';
        std::memcpy(p_, k.data(), k.size());
        p_ += k.size();
        *p_++ = '"';
        *p_++ = ':';
        needComma_ = false;
        return *this;
    }

    JsonWriter& String(std::string_view v);

    JsonWriter& Int(long v) {
        Room(kIntBytes + 1);
        Separate();
        p_ = std::to_chars(p_, p_ + kIntBytes, v).ptr;
        return *this;
    }

    JsonWriter& Bool(bool v) { return Raw(v ? std::string_view("true") : std::string_view("false")); }
    JsonWriter& Null() { return Raw("null"); }

    JsonWriter& Raw(std::string_view json) {
        Room(json.size() + 1);
        Separate();
        std::memcpy(p_, json.data(), json.size());
        p_ += json.size();
        return *this;
    }

    // Cuts the string back to what has been written; writing may go on.
    void Finish() {
        if (p_ == nullptr) return;
        const std::size_t n = static_cast<std::size_t>(p_ - out_->data());
        out_->resize(n);
        p_ = out_->data() + n;
        end_ = p_;
    }

    // What has been written.
    const std::string& str() {
        Finish();
        return *out_;
    }

private:
    static constexpr std::size_t kIntBytes = 20;
    static constexpr std::size_t kGrowth = 1024;

    void Separate() {
        if (needComma_) *p_++ = ',';
        needComma_ = true;
    }
    JsonWriter& Open(char c) {
        Room(2);
        Separate();
        *p_++ = c;
        needComma_ = false;
        return *this;
    }
    JsonWriter& Close(char c) {
        Room(1);
        *p_++ = c;
        needComma_ = true;
        return *this;
    }
    // Makes room for n bytes at the cursor.
    void Room(std::size_t n) {
        if (n > static_cast<std::size_t>(end_ - p_)) [[unlikely]] Grow(n);
    }
    void Grow(std::size_t n);

    std::string own_;
    std::string* out_;
    std::size_t start_;  // where this writer began writing
    char* p_ = nullptr;
    char* end_ = nullptr;
    bool needComma_ = false;
};

}  // namespace tl::cli
