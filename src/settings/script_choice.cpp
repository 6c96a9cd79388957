#include "settings/script_choice.h"

#include <string>
#include <vector>

#include "files/file_io.h"

namespace fs = std::filesystem;

namespace tl {

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 64 * 1024;
constexpr std::string_view kScriptKey = "script";

std::string_view NameOf(Script script) { return script == Script::kHant ? "hant" : "hans"; }

// The lines of a text without their line ends (LF or CR LF).
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A line "key=value", blanks around either allowed.
bool IsScriptLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq != std::string_view::npos && Trimmed(line.substr(0, eq)) == kScriptKey;
}
std::string_view ValueOf(std::string_view line) { return Trimmed(line.substr(line.find('=') + 1)); }

}  // namespace

fs::path ProgramSettingsFilePath(const fs::path& programFolder) { return programFolder / "tenglan.conf"; }

std::optional<Script> LoadScript(const fs::path& programFolder) {
    const std::optional<std::string> text = ReadRegularFile(ProgramSettingsFilePath(programFolder), kMaxSettingsBytes);
    if (!text) return std::nullopt;
    std::optional<Script> script;
    for (std::string_view line : Lines(*text))
        if (IsScriptLine(line)) script = ScriptFromName(ValueOf(line));
    return script;
}

bool StoreScript(const fs::path& programFolder, Script script) {
    const fs::path file = ProgramSettingsFilePath(programFolder);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    std::string text;
    if (fs::exists(status)) {
        // Anything but a regular file of settings is left alone.
        const std::optional<std::string> old = ReadRegularFile(file, kMaxSettingsBytes);
        if (!old) return false;
        for (std::string_view line : Lines(*old))
            if (!IsScriptLine(line)) text.append(line).append("\n");
    }
    text.append(kScriptKey).append("=").append(NameOf(script)).append("\n");
    return ReplaceFile(file, text, ExistingFile::kKeep);
}

Script ScriptOfLocale(std::string_view locale) {
    // "zh_TW.UTF-8@variant": language, then script or territory parts.
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.substr(0, 2) != "zh" || (locale.size() > 2 && locale[2] != '_' && locale[2] != '-'))
        return Script::kHans;
    // A script named in the locale decides; else the territory.
    const auto names = [&](std::string_view part) {
        for (std::size_t at = locale.find(part); at != std::string_view::npos; at = locale.find(part, at + 1)) {
            const bool starts = locale[at - 1] == '_' || locale[at - 1] == '-';
            const std::size_t end = at + part.size();
            if (starts && (end == locale.size() || locale[end] == '_' || locale[end] == '-')) return true;
        }
        return false;
    };
    if (names("Hans")) return Script::kHans;
    return names("Hant") || names("TW") || names("HK") || names("MO") ? Script::kHant : Script::kHans;
}

}  // namespace tl
