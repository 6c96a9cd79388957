// The program's own settings beside the two files it keeps for older
// copies (shezhi.ini, zishi.ini): tenglan.conf in the program folder, a
// UTF-8 text of "key=value" lines (LF or CR LF), read and written whole.
// Keys are lower-case ASCII letters, digits, "." and "_"; values run to the
// end of their line. Lines that are no such pair (blank lines, "#"
// comments) are ignored and not kept; a key given twice counts once, the
// last time. It holds:
//   font   the full family name of the report font last chosen, which
//          shezhi.ini cuts to 10 bytes
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace tl {

using ProgramSettings = std::map<std::string, std::string, std::less<>>;

// <program folder>/tenglan.conf
std::filesystem::path ProgramSettingsPath(const std::filesystem::path& programFolder);

// A key is usable when it is 1..32 characters of a-z, 0-9, "." and "_"; a
// value when it is valid UTF-8 of at most 1024 bytes without control
// characters (it must stay on its line).
bool IsSettingKey(std::string_view key);
bool IsSettingValue(std::string_view value);

// The pairs of a settings text; unusable lines are skipped.
ProgramSettings ParseProgramSettings(std::string_view text);
// The text of the pairs, one "key=value" line each, ending in LF, in key
// order.
std::string FormatProgramSettings(const ProgramSettings& settings);

// The folder's tenglan.conf; empty when it is missing, no regular file,
// larger than 64 KiB or unreadable.
ProgramSettings LoadProgramSettings(const std::filesystem::path& programFolder);
// Sets one key and writes the file anew (through a temporary file renamed
// over it, the other keys kept). False, with the file as it was, for an
// unusable key or value or when it cannot be written.
bool StoreProgramSetting(const std::filesystem::path& programFolder, std::string_view key, std::string_view value);

// The font name to use for the style shezhi.ini holds: the full name kept
// in tenglan.conf when the stored name is exactly what shezhi.ini makes of
// it (its first 10 GBK bytes), else the stored name as it is. So "DejaVu
// San" comes back as "DejaVu Sans Mono" when that was chosen, and a font
// stored by another program or restored to the defaults is left alone.
std::string FullFontName(std::string_view storedName, const ProgramSettings& settings);
// A style with its font name made whole from the folder's tenglan.conf.
Settings WithFullFontName(Settings settings, const std::filesystem::path& programFolder);
// Keeps the full name of a chosen font.
bool StoreFullFontName(const std::filesystem::path& programFolder, std::string_view fontName);

}  // namespace tl
