#include "settings/settings.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <string_view>

#include "files/file_io.h"
#include "text/gbk.h"

namespace tl {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBackgroundOffset = 0;
constexpr std::size_t kFontNameOffset = 4, kFontNameWidth = 10;
constexpr std::size_t kFontSizeOffset = 14, kFontSizeWidth = 5;
constexpr std::size_t kBoldOffset = 19, kStrikethroughOffset = 21, kItalicOffset = 23, kUnderlineOffset = 25;
constexpr std::size_t kTextColourOffset = 27, kTextColourWidth = 10;

constexpr double kSmallestFontSize = 1;
constexpr double kLargestFontSize = 1638;

void PutUint32(SettingsBytes& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t GetUint32(const SettingsBytes& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    return v;
}

void PutFlag(SettingsBytes& b, std::size_t at, bool on) {
    b[at] = on ? 0xFF : 0x00;
    b[at + 1] = on ? 0xFF : 0x00;
}

// Any value but 0 is true.
bool GetFlag(const SettingsBytes& b, std::size_t at) { return b[at] != 0 || b[at + 1] != 0; }

// ASCII text cut or padded with spaces.
void PutAscii(SettingsBytes& b, std::size_t at, std::size_t width, std::string_view text) {
    for (std::size_t i = 0; i < width; ++i) b[at + i] = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
}

std::string_view Field(const SettingsBytes& b, std::size_t at, std::size_t width) {
    return {reinterpret_cast<const char*>(b.data() + at), width};
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The shortest decimal text of a size that fits the 5-character field:
// 10.5 gives "10.5", 12 gives "12".
std::string SizeText(double size) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, size);
    std::string text(buf, r.ptr);
    for (int decimals = 3; text.size() > kFontSizeWidth && decimals >= 0; --decimals) {
        r = std::to_chars(buf, buf + sizeof buf, size, std::chars_format::fixed, decimals);
        text.assign(buf, r.ptr);
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0') text.pop_back();
            if (text.back() == '.') text.pop_back();
        }
    }
    return text;
}

// A decimal number: digits with at most one point, at least one digit.
std::optional<double> ParseDecimal(std::string_view s) {
    s = TrimSpaces(s);
    bool digit = false, point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return std::nullopt;
    }
    if (!digit) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

// A signed whole number within 32 bits, as the colour value it stands for.
std::optional<std::uint32_t> ParseColour(std::string_view s) {
    s = TrimSpaces(s);
    std::int64_t v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
}

bool HasControlCharacter(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace

Settings DefaultSettings() { return Settings{}; }

bool IsUsableColour(std::uint32_t colour) {
    return colour <= 0x00FFFFFFu || (colour >= 0x80000000u && colour <= 0x80000018u);
}

SettingsBytes EncodeSettings(const Settings& s) {
    const SettingsBytes zero{};
    return WithBackground(WithFont(zero, s.font, s.textColour), s.backgroundColour);
}

std::optional<Settings> DecodeSettings(const SettingsBytes& b) {
    Settings s;
    s.backgroundColour = GetUint32(b, kBackgroundOffset);
    if (!IsUsableColour(s.backgroundColour)) return std::nullopt;

    GbkCodec codec;
    std::string name = codec.ToUtf8(Field(b, kFontNameOffset, kFontNameWidth));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    // A name with bytes that are not GBK names no font.
    if (name.empty() || HasControlCharacter(name) || name.find("\xEF\xBF\xBD") != std::string::npos)
        return std::nullopt;
    s.font.name = std::move(name);

    const auto size = ParseDecimal(Field(b, kFontSizeOffset, kFontSizeWidth));
    if (!size || *size < kSmallestFontSize || *size > kLargestFontSize) return std::nullopt;
    s.font.pointSize = *size;

    s.font.bold = GetFlag(b, kBoldOffset);
    s.font.strikethrough = GetFlag(b, kStrikethroughOffset);
    s.font.italic = GetFlag(b, kItalicOffset);
    s.font.underline = GetFlag(b, kUnderlineOffset);

    const auto colour = ParseColour(Field(b, kTextColourOffset, kTextColourWidth));
    if (!colour || !IsUsableColour(*colour)) return std::nullopt;
    s.textColour = *colour;
    return s;
}

SettingsBytes WithFont(const SettingsBytes& current, const FontStyle& font, std::uint32_t textColour) {
    SettingsBytes b = current;
    const std::string name = FitGbkBytes(Utf8ToGbk(font.name), kFontNameWidth);
    for (std::size_t i = 0; i < kFontNameWidth; ++i) b[kFontNameOffset + i] = static_cast<unsigned char>(name[i]);
    PutAscii(b, kFontSizeOffset, kFontSizeWidth, SizeText(font.pointSize));
    PutFlag(b, kBoldOffset, font.bold);
    PutFlag(b, kStrikethroughOffset, font.strikethrough);
    PutFlag(b, kItalicOffset, font.italic);
    PutFlag(b, kUnderlineOffset, font.underline);
    PutAscii(b, kTextColourOffset, kTextColourWidth, std::to_string(static_cast<std::int32_t>(textColour)));
    return b;
}

SettingsBytes WithBackground(const SettingsBytes& current, std::uint32_t colour) {
    SettingsBytes b = current;
    PutUint32(b, kBackgroundOffset, colour);
    return b;
}

fs::path SettingsFilePath(const fs::path& programFolder) { return programFolder / "shezhi.ini"; }

std::optional<SettingsBytes> ReadSettingsRecord(const fs::path& programFolder) {
    // Only a regular file holds settings: a pipe or a device there is
    // unusable, and is not waited on.
    const FileHandle f = OpenRegularFile(SettingsFilePath(programFolder), O_RDONLY);
    if (!f) return std::nullopt;
    const auto bytes = ReadAt(f.get(), 0, kSettingsSize);
    if (!bytes || bytes->size() != kSettingsSize) return std::nullopt;
    SettingsBytes b{};
    std::copy(bytes->begin(), bytes->end(), b.begin());
    return b;
}

namespace {

// A settings file larger than this is no file of this program's: its
// record is written in place rather than the whole file copied.
constexpr std::uintmax_t kLargestCopiedFile = 1u << 20;

std::string_view AsBytes(const SettingsBytes& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

// Read, change, replace, all under an exclusive lock (flock) of the
// program folder, so that two programs changing settings at once never undo
// each other's change: `change` gets record 1 as it is now (nothing when
// the file holds none) and gives the record to write. Bytes past the record
// stay as they were. The new file is on disk before this returns true. The
// folder is locked rather than shezhi.ini, which each change replaces: a
// program waiting on the old file would find it gone again and again.
template <typename Change>
bool UpdateSettingsRecord(const fs::path& programFolder, Change change) {
    const fs::path folder = programFolder.empty() ? fs::path(".") : programFolder;
    const FileHandle lock(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!lock || !LockFile(lock.get(), true)) return false;
    const fs::path path = SettingsFilePath(programFolder);
    FileHandle f = OpenRegularFile(path, O_RDWR);
    if (!f && errno == ENOENT) f = CreateNewFile(path);
    if (!f) return false;
    struct stat st {};
    if (::fstat(f.get(), &st) != 0) return false;
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > kLargestCopiedFile) {
        const auto head = ReadAt(f.get(), 0, kSettingsSize);
        if (!head) return false;
        std::optional<SettingsBytes> current;
        if (head->size() == kSettingsSize) std::copy(head->begin(), head->end(), current.emplace().begin());
        return WriteAt(f.get(), 0, AsBytes(change(current))) && SyncFile(f.get());
    }
    const auto bytes = ReadAt(f.get(), 0, static_cast<std::size_t>(size));
    if (!bytes) return false;
    std::optional<SettingsBytes> current;
    if (bytes->size() >= kSettingsSize) std::copy_n(bytes->begin(), kSettingsSize, current.emplace().begin());
    std::string content(AsBytes(change(current)));
    if (bytes->size() > kSettingsSize) content.append(*bytes, kSettingsSize);
    return ReplaceFile(path, content, ExistingFile::kKeep);
}

SettingsBytes StoredOrDefault(const std::optional<SettingsBytes>& current) {
    return current.value_or(EncodeSettings(DefaultSettings()));
}

}  // namespace

bool WriteSettingsRecord(const fs::path& programFolder, const SettingsBytes& b) {
    return UpdateSettingsRecord(programFolder, [&b](const std::optional<SettingsBytes>&) { return b; });
}

Settings StoredSettings(const fs::path& programFolder) {
    if (const auto bytes = ReadSettingsRecord(programFolder))
        if (auto s = DecodeSettings(*bytes)) return *s;
    return DefaultSettings();
}

Settings LoadSettings(const fs::path& programFolder) {
    // As at every start, the file is created empty when missing (and only
    // then: an existing name, whatever it is, stays as it is).
    CreateNewFile(SettingsFilePath(programFolder));
    return StoredSettings(programFolder);
}

bool StoreFontChoice(const fs::path& programFolder, const FontStyle& font, std::uint32_t textColour) {
    return UpdateSettingsRecord(programFolder, [&](const std::optional<SettingsBytes>& current) {
        return WithFont(StoredOrDefault(current), font, textColour);
    });
}

bool StoreBackgroundChoice(const fs::path& programFolder, std::uint32_t colour) {
    return UpdateSettingsRecord(programFolder, [&](const std::optional<SettingsBytes>& current) {
        return WithBackground(StoredOrDefault(current), colour);
    });
}

bool StoreDefaults(const fs::path& programFolder) {
    return WriteSettingsRecord(programFolder, EncodeSettings(DefaultSettings()));
}

}  // namespace tl
