#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "text/utf8.h"

namespace tl::cli {

namespace {

OutputCapture* g_capture = nullptr;

}  // namespace

OutputCapture::OutputCapture() : previous_(g_capture) { g_capture = this; }

OutputCapture::~OutputCapture() { g_capture = previous_; }

bool WriteOutput(std::string_view bytes) {
    if (g_capture != nullptr) {
        g_capture->out_ += bytes;
        return true;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) return false;
    return std::fflush(stdout) == 0;
}

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
}

// Length of the UTF-8 sequence a lead byte announces; 0 for a byte that
// cannot lead one.
std::size_t SequenceLength(unsigned char b) {
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F) {
            if (b == '\t') out += "\\t";
            else if (b == '\n') out += "\\n";
            else if (b == '\r') out += "\\r";
            else AppendHexByte(out, b);
            ++i;
            continue;
        }
        const std::size_t n = SequenceLength(b);
        if (n == 0 || i + n > text.size() || !IsValidUtf8(text.substr(i, n))) {
            AppendHexByte(out, b);
            ++i;
            continue;
        }
        if (b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080..U+009F, the C1 controls (U+009B opens a terminal command)
            const auto codePoint = static_cast<unsigned char>(text[i + 1]);
            out += "\\u00";
            out += kHex[codePoint >> 4];
            out += kHex[codePoint & 0xF];
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

int Complain(std::string_view command, std::string_view message, int status) {
    std::string line = "tenglan-cli";
    if (!command.empty()) {
        line += ' ';
        line += command;
    }
    line += ": ";
    line += Printable(message);
    line += '\n';
    if (g_capture != nullptr) {
        g_capture->err_ += line;
        return status;
    }
    std::cerr << line;
    return status;
}

int OutputFailed(std::string_view command, std::string_view what) {
    const int error = errno;
    std::string message = "cannot write ";
    message += what;
    if (error != 0) {
        message += ": ";
        message += std::strerror(error);
    }
    return Complain(command, message, 1);
}

}  // namespace tl::cli
