#include "settings/zi_day_change.h"

#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace tl {

fs::path ZiDayChangeFilePath(const fs::path& programFolder) { return programFolder / "zishi.ini"; }

std::optional<int> ParseZiDayChange(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    if (text == "23") return 23;
    if (text == "0") return 0;
    return std::nullopt;
}

int LoadZiDayChange(const fs::path& programFolder) {
    std::ifstream in(ZiDayChangeFilePath(programFolder), std::ios::binary);
    if (!in) return 23;
    std::string text;
    // A real choice is a few bytes; a larger file is no choice.
    text.resize(16);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseZiDayChange(text).value_or(23);
}

bool StoreZiDayChange(const fs::path& programFolder, int hour) {
    if (hour != 23 && hour != 0) return false;
    std::ofstream out(ZiDayChangeFilePath(programFolder), std::ios::binary | std::ios::trunc);
    out << (hour == 23 ? "23" : "0") << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace tl
