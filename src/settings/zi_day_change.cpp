#include "settings/zi_day_change.h"

#include <string>

#include "files/file_io.h"

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
    // A real choice is a few bytes; a larger file is no choice. Only a
    // regular file is read: a named pipe there is not waited on.
    const auto text = ReadRegularFile(ZiDayChangeFilePath(programFolder), 16);
    if (!text) return ZiDayChange::kAt23;
    return ParseZiDayChange(*text).value_or(ZiDayChange::kAt23);
}

bool StoreZiDayChange(const fs::path& programFolder, ZiDayChange rule) {
    // The file is replaced whole and on disk before this returns; a link
    // or anything else at the name is replaced, never written through.
    return ReplaceFile(ZiDayChangeFilePath(programFolder),
                       rule == ZiDayChange::kAt23 ? "23\r\n" : "0\r\n", ExistingFile::kReplace);
}

}  // namespace tl
