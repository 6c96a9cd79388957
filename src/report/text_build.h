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

// Spaces to copy runs of padding from.
inline constexpr std::string_view kSpaceRun = "                                                                ";

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

// Copies n bytes to p and returns the end: up to 32 bytes as two
// overlapping blocks, each within the n bytes, so that short pieces are
// copied without a library call.
[[gnu::always_inline]] inline char* CopyText(char* p, const char* src, std::size_t n) {
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

// The room ahead of a TextWriter's cursor, lent to a function that writes a
// piece whose length only it knows (the relations or the stars of a
// pillar). Each Put checks the room; when a piece does not fit, the span is
// spent and the whole piece is written again into more room.
class TextSpan {
public:
    TextSpan(char* p, char* end) : p_(p), end_(end) {}

    void Put(std::string_view s) {
        if (s.size() <= static_cast<std::size_t>(end_ - p_)) {
            p_ = CopyText(p_, s.data(), s.size());
        } else {
            p_ = nullptr;
            end_ = nullptr;
        }
    }

    // Writes n bytes from src, where at least kBlock bytes can be read even
    // when n is smaller (the caller pads its pieces): a piece of at most
    // kBlock bytes is copied as one block when the room holds a block, the
    // bytes past its end to be overwritten by what follows or cut off when
    // the writer closes.
    static constexpr std::size_t kBlock = 16;
    void PutBlock(const char* src, std::size_t n) {
        if (n <= kBlock && kBlock <= static_cast<std::size_t>(end_ - p_)) {
            std::memcpy(p_, src, kBlock);
            p_ += n;
        } else {
            Put({src, n});
        }
    }

    void PutSpaces(int n) {
        while (n > 0) {
            const int k = n < static_cast<int>(kSpaceRun.size()) ? n : static_cast<int>(kSpaceRun.size());
            Put(kSpaceRun.substr(0, static_cast<std::size_t>(k)));
            n -= k;
        }
    }

    // Where the piece ends; null when the room was too short.
    char* end() const { return p_; }

private:
    char* p_;
    char* end_;
};

// Writes report text at the end of a string through a cursor, for the long
// runs of short pieces of the chart table and the annual rows. The string is
// grown ahead of the cursor, so every piece is written where the string
// already has room, whatever its length. While a writer is open the
// string's size includes the room not yet written; the writer cuts it back
// when it closes, and nothing else may touch the string meanwhile. A writer
// is kept local to the function that writes and is never handed to another
// function (PutThrough lends a TextSpan instead), so that its cursor can
// stay in a register.
class TextWriter {
public:
    // Writes after the current end of `out`, first making room for about
    // `expected` bytes (0: room is made by the first piece).
    TextWriter(std::string& out, std::size_t expected) : out_(out) {
        const std::size_t at = out.size();
        p_ = Grow(out, at, expected) + at;
        end_ = out.data() + out.size();
    }
    ~TextWriter() { out_.resize(static_cast<std::size_t>(p_ - out_.data())); }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    [[gnu::always_inline]] void Put(std::string_view s) {
        Room(s.size());
        p_ = CopyText(p_, s.data(), s.size());
    }

    // Writes a piece through write(TextSpan), which returns the span's end;
    // while that is null, the room is grown and the piece written again.
    template <typename Write>
    void PutThrough(Write write) {
        while (true) {
            if (char* end = write(TextSpan(p_, end_))) {
                p_ = end;
                return;
            }
            Room(2 * static_cast<std::size_t>(end_ - p_) + kGrowth);
        }
    }

    [[gnu::always_inline]] void PutSpaces(int n) {
        while (n > 0) {
            const int k = n < static_cast<int>(kSpaceRun.size()) ? n : static_cast<int>(kSpaceRun.size());
            Put(kSpaceRun.substr(0, static_cast<std::size_t>(k)));
            n -= k;
        }
    }

    // Where the next piece will stand in the string, in bytes.
    std::size_t Offset() const { return static_cast<std::size_t>(p_ - out_.data()); }

    // A decimal integer without leading zeros.
    [[gnu::always_inline]] void PutInt(long v) {
        Room(kIntBytes);
        p_ = Digits(p_, v);
    }

    // A decimal integer with at least two digits (4 → "04", 105 → "105").
    [[gnu::always_inline]] void PutInt2(long v) {
        Room(kIntBytes + 1);
        if (v >= 0 && v < 10) *p_++ = '0';
        p_ = Digits(p_, v);
    }

private:
    // The longest decimal text of a long, with its sign.
    static constexpr std::size_t kIntBytes = 20;
    // Room added beyond a piece that does not fit, so that a text of many
    // short pieces grows the string a few times only.
    static constexpr std::size_t kGrowth = 256;

    void Room(std::size_t n) {
        if (n > static_cast<std::size_t>(end_ - p_)) [[unlikely]] {
            const std::size_t at = static_cast<std::size_t>(p_ - out_.data());
            p_ = Grow(out_, at, n + kGrowth) + at;
            end_ = out_.data() + out_.size();
        }
    }

    // Makes room for n bytes after `at` and returns the string's bytes. It
    // takes the string only, not the writer, so that the writer's cursor
    // need not live in memory.
    [[gnu::noinline]] static char* Grow(std::string& out, std::size_t at, std::size_t n) {
        if (at + n > out.size()) out.resize(at + n);
        return out.data();
    }

    // "00" "01" .. "99": two digits at a time.
    struct DigitPairs {
        char chars[200];
    };
    static constexpr DigitPairs kDigitPairs = [] {
        DigitPairs d{};
        for (int i = 0; i < 100; ++i) {
            d.chars[2 * i] = static_cast<char>('0' + i / 10);
            d.chars[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
        return d;
    }();

    // Writes v at p, which has room for kIntBytes, and returns the end.
    static char* Digits(char* p, long v) {
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
        return std::to_chars(p, p + kIntBytes, v).ptr;
    }

    std::string& out_;
    char* p_ = nullptr;
    char* end_ = nullptr;
};

}  // namespace tl
