// The script the program's windows and texts are shown in, kept in the
// program's own settings file tenglan.conf in the program folder: text
// lines "key=value", of which the line "script=hans" or "script=hant" holds
// this choice. Other lines of the file are kept as they are.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "text/script.h"

namespace tl {

// <program folder>/tenglan.conf
std::filesystem::path ProgramSettingsFilePath(const std::filesystem::path& programFolder);

// The script the file's last "script=" line names; nothing when the file is
// missing, no regular file, larger than 64 KiB, or names no script.
std::optional<Script> LoadScript(const std::filesystem::path& programFolder);

// Writes the line "script=hans" or "script=hant" in place of any earlier
// "script=" line, the other lines kept, through a temporary file renamed
// over the file. False when it cannot be written, or when tenglan.conf
// exists and is no regular file.
bool StoreScript(const std::filesystem::path& programFolder, Script script);

// The script a desktop locale reads ("zh_TW.UTF-8", "zh_HK", "zh_Hant_MY",
// "zh-TW"): traditional characters for Chinese of Taiwan, Hong Kong and
// Macao and for any locale that names the traditional script, simplified
// characters for every other.
Script ScriptOfLocale(std::string_view locale);

}  // namespace tl
