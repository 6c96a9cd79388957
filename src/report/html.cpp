#include "report/html.h"

#include <algorithm>
#include <vector>

namespace tl {

namespace {

constexpr std::string_view kStyle =
    "body { margin: 2em; background: #ffffff; color: #000000; }\n"
    "pre { font-family: \"AR PL UMing CN\", \"WenQuanYi Zen Hei Mono\", \"SimSun\", \"NSimSun\", monospace;\n"
    "      font-size: 12pt; line-height: 1.35; }\n"
    ".red { color: #ff0000; }\n"
    "@media print { body { margin: 0; } pre { font-size: 10pt; } }\n";

// One character of the text with its place and length in bytes.
struct Character {
    std::size_t at;
    std::size_t size;
};

std::vector<Character> Characters(std::string_view s) {
    std::vector<Character> out;
    out.reserve(s.size() / 2);
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = 1;
        while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
        out.push_back({i, n});
        i += n;
    }
    return out;
}

void AppendEscaped(std::string& out, std::string_view ch) {
    if (ch.size() != 1) {
        out += ch;
        return;
    }
    const unsigned char c = static_cast<unsigned char>(ch[0]);
    switch (c) {
        case '&': out += "&amp;"; return;
        case '<': out += "&lt;"; return;
        case '>': out += "&gt;"; return;
        case '\n': out += '\n'; return;
        default: break;
    }
    if (c < 0x20 || c == 0x7F) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        return;
    }
    out += ch;
}

}  // namespace

std::string ReportHtml(const Report& report, std::string_view title, Script script) {
    const std::string_view text = report.text;
    const std::vector<Character> chars = Characters(text);

    // Which characters are red: the passages may overlap (a marker in the
    // name), so the page colours their union.
    std::vector<bool> red(chars.size() + 1, false);
    for (const TextRange& r : report.red) {
        if (r.start < 0 || r.length <= 0) continue;
        const std::size_t start = static_cast<std::size_t>(r.start);
        const std::size_t end = std::min(chars.size(), start + static_cast<std::size_t>(r.length));
        for (std::size_t i = start; i < end; ++i) red[i] = true;
    }

    std::string out;
    out.reserve(text.size() + 2048);
    out += "<!DOCTYPE html>\n<html lang=\"";
    out += script == Script::kHant ? "zh-Hant" : "zh-Hans";
    out += "\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    for (const Character& c : Characters(title)) {
        const std::string_view ch = title.substr(c.at, c.size);
        AppendEscaped(out, ch == "\n" || ch == "\r" ? std::string_view(" ") : ch);
    }
    out += "</title>\n<style>\n";
    out += kStyle;
    out += "</style>\n</head>\n<body>\n<pre>";
    bool inRed = false;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (red[i] != inRed) {
            out += red[i] ? "<span class=\"red\">" : "</span>";
            inRed = red[i];
        }
        const std::string_view ch = text.substr(chars[i].at, chars[i].size);
        // CR LF ends a line; the block keeps only the LF.
        if (ch == "\r" && i + 1 < chars.size() && text[chars[i + 1].at] == '\n') continue;
        AppendEscaped(out, ch);
    }
    if (inRed) out += "</span>";
    out += "</pre>\n</body>\n</html>\n";
    return out;
}

}  // namespace tl
