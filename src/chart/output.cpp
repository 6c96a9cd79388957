#include "chart/output.h"

namespace tl {

bool IsEmptyReport(std::string_view boxText) { return boxText.find_first_not_of(' ') == std::string_view::npos; }

std::string ExtraTextAppendix(std::string_view extraText) {
    if (extraText.find_first_not_of(" \t\r\n") == std::string_view::npos) return {};
    return "\r\n" + std::string(extraText);
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tl
