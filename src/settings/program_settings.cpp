#include "settings/program_settings.h"

#include "files/file_io.h"
#include "text/gbk.h"
#include "text/utf8.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 64 * 1024;
constexpr std::size_t kMaxKeyLength = 32;
constexpr std::size_t kMaxValueBytes = 1024;
constexpr std::size_t kStoredFontNameWidth = 10;  // the font name field of shezhi.ini
constexpr std::string_view kFontKey = "font";

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

fs::path ProgramSettingsPath(const fs::path& programFolder) { return programFolder / "tenglan.conf"; }

bool IsSettingKey(std::string_view key) {
    if (key.empty() || key.size() > kMaxKeyLength) return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_')) return false;
    return true;
}

bool IsSettingValue(std::string_view value) {
    if (value.size() > kMaxValueBytes || !IsValidUtf8(value)) return false;
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

ProgramSettings ParseProgramSettings(std::string_view text) {
    ProgramSettings settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        const std::string_view value = TrimBlanks(line.substr(eq + 1));
        if (!IsSettingKey(key) || !IsSettingValue(value)) continue;
        settings.insert_or_assign(std::string(key), std::string(value));
    }
    return settings;
}

std::string FormatProgramSettings(const ProgramSettings& settings) {
    std::string text;
    for (const auto& [key, value] : settings) text += key + "=" + value + "\n";
    return text;
}

ProgramSettings LoadProgramSettings(const fs::path& programFolder) {
    const auto text = ReadRegularFile(ProgramSettingsPath(programFolder), kMaxSettingsBytes);
    return text ? ParseProgramSettings(*text) : ProgramSettings{};
}

bool StoreProgramSetting(const fs::path& programFolder, std::string_view key, std::string_view value) {
    // A value with blanks at its ends would not read back the same.
    if (!IsSettingKey(key) || !IsSettingValue(value) || TrimBlanks(value) != value) return false;
    ProgramSettings settings = LoadProgramSettings(programFolder);
    settings.insert_or_assign(std::string(key), std::string(value));
    return ReplaceFile(ProgramSettingsPath(programFolder), FormatProgramSettings(settings), ExistingFile::kKeep);
}

std::string FullFontName(std::string_view storedName, const ProgramSettings& settings) {
    const auto full = settings.find(kFontKey);
    if (full == settings.end() || storedName.empty()) return std::string(storedName);
    std::string cut = GbkToUtf8(FitGbkBytes(Utf8ToGbk(full->second), kStoredFontNameWidth));
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return cut == storedName ? full->second : std::string(storedName);
}

Settings WithFullFontName(Settings settings, const fs::path& programFolder) {
    settings.font.name = FullFontName(settings.font.name, LoadProgramSettings(programFolder));
    return settings;
}

bool StoreFullFontName(const fs::path& programFolder, std::string_view fontName) {
    return StoreProgramSetting(programFolder, kFontKey, fontName);
}

}  // namespace tl
