// When the day pillar changes in the 子 hour, kept in the program folder in
// a file of its own, zishi.ini: one line of text, "23" (the day changes at
// 23:00, the default) or "0" (the civil day keeps its pillar until midnight).
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "calendar/types.h"

namespace tl {

// <program folder>/zishi.ini
std::filesystem::path ZiDayChangeFilePath(const std::filesystem::path& programFolder);

// "23" or "0", optionally followed by a line end; anything else is no
// choice.
std::optional<ZiDayChange> ParseZiDayChange(std::string_view text);

// The rule the folder's zishi.ini holds; at 23:00 when the file is
// missing, no regular file (a named pipe is not waited on), unreadable or
// holds anything else. The file is never written here.
ZiDayChange LoadZiDayChange(const std::filesystem::path& programFolder);

// Writes "23" or "0" with CR LF through a temporary file, on disk before
// this returns; a link, a named pipe or a folder at the name is not written
// through (a folder stays, and the write fails). False when the file cannot
// be written.
bool StoreZiDayChange(const std::filesystem::path& programFolder, ZiDayChange rule);

}  // namespace tl
