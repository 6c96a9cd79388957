#include "settings/zi_day_change.h"

#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace tl {

fs::path ZiDayChangeFilePath(const fs::path& programFolder) { return programFolder / "zishi.ini"; }

std::optional<ZiDayChange> ParseZiDayChange(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    if (text == "23") return ZiDayChange::kAt23;
    if (text == "0") return ZiDayChange::kAtMidnight;
    return std::nullopt;
}

ZiDayChange LoadZiDayChange(const fs::path& programFolder) {
    std::ifstream in(ZiDayChangeFilePath(programFolder), std::ios::binary);
    if (!in) return ZiDayChange::kAt23;
    std::string text;
    // A real choice is a few bytes; a larger file is no choice.
    text.resize(16);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseZiDayChange(text).value_or(ZiDayChange::kAt23);
}

bool StoreZiDayChange(const fs::path& programFolder, ZiDayChange rule) {
    std::ofstream out(ZiDayChangeFilePath(programFolder), std::ios::binary | std::ios::trunc);
    out << ZiDayChangeHour(rule) << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace tl
