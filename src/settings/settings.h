// The style of the report box (font, text colour, background) and its file
// shezhi.ini in the program folder, which despite its name holds one binary
// record of 37 bytes, little-endian, texts in GBK padded with spaces:
//    0  4  background colour  0x00BBGGRR, or 0x80000005 (system window colour)
//    4 10  font name          "宋体" and 6 spaces
//   14  5  font size          decimal text, "10.5" and a space
//   19  2  bold               16-bit flag, -1 true, 0 false
//   21  2  strikethrough      16-bit flag
//   23  2  italic             16-bit flag
//   25  2  underline          16-bit flag
//   27 10  text colour        0x00BBGGRR as signed decimal text, "0" and 9 spaces
// Plain values only; the window applies them to its widgets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tl {

// The system colour of window backgrounds, the default background.
inline constexpr std::uint32_t kSystemWindowColour = 0x80000005u;

struct FontStyle {
    std::string name = "宋体";  // UTF-8
    double pointSize = 10.5;
    bool bold = false;
    bool strikethrough = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

struct Settings {
    std::uint32_t backgroundColour = kSystemWindowColour;
    FontStyle font;
    std::uint32_t textColour = 0;  // black

    friend bool operator==(const Settings&, const Settings&) = default;
};

inline constexpr std::size_t kSettingsSize = 37;
using SettingsBytes = std::array<unsigned char, kSettingsSize>;

// 宋体 10.5 without any style, black text on the system window colour.
Settings DefaultSettings();

// A colour the report box can take: a plain colour 0x00BBGGRR or one of the
// system colours 0x80000000..0x80000018.
bool IsUsableColour(std::uint32_t colour);

// The record of a style. The font name is cut to 10 bytes without
// splitting a character, the size written as short decimal text ("10.5",
// "12") of at most 5 characters, the text colour as signed decimal text.
SettingsBytes EncodeSettings(const Settings& settings);
// The style a record holds: the font name without its trailing spaces, the
// size text read as a number, the colour text read as a whole number. Empty
// when any of it is unusable: a size or colour text that is not a number,
// an empty font name or one with control characters or bytes that are not
// GBK, a size outside 1..1638 points, a colour the box cannot
// take.
std::optional<Settings> DecodeSettings(const SettingsBytes& bytes);

// What the font command writes: `current` (the record read from the file,
// or the defaults when it holds none) with every field but the background
// colour replaced by the chosen font and text colour.
SettingsBytes WithFont(const SettingsBytes& current, const FontStyle& font, std::uint32_t textColour);
// What the background command writes: `current` with only its background
// colour replaced; every other byte stays as read.
SettingsBytes WithBackground(const SettingsBytes& current, std::uint32_t colour);

// <program folder>/shezhi.ini
std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder);

// Record 1 of the folder's shezhi.ini: its first 37 bytes (a longer file's
// tail is ignored). Empty when the file is missing, no regular file (a
// named pipe is not waited on), shorter than a record or unreadable.
std::optional<SettingsBytes> ReadSettingsRecord(const std::filesystem::path& programFolder);
// Writes record 1, creating the file when missing; bytes past the record
// stay as they were. The program folder is locked (flock) from reading to
// replacing; the file is replaced through a temporary file and on disk
// before this returns, so two programs changing settings at once lose
// neither change. False when the file cannot be written, is no regular file
// or the folder stays locked by another program for more than a few
// seconds.
bool WriteSettingsRecord(const std::filesystem::path& programFolder, const SettingsBytes& bytes);

// The style shezhi.ini holds, or the defaults when the file is missing,
// empty, short, unreadable or unusable. The file is neither created nor
// written.
Settings StoredSettings(const std::filesystem::path& programFolder);
// The style applied at program start: StoredSettings, after creating a
// missing file empty; the file is never written here.
Settings LoadSettings(const std::filesystem::path& programFolder);

// The three commands of the settings window, as far as the file goes. Each
// returns whether shezhi.ini was written; the window applies the style to
// the box whatever the outcome.
// Choose font: the background stays as read, the rest comes from the dialog.
bool StoreFontChoice(const std::filesystem::path& programFolder, const FontStyle& font, std::uint32_t textColour);
// Choose background: only the background colour changes.
bool StoreBackgroundChoice(const std::filesystem::path& programFolder, std::uint32_t colour);
// Restore defaults: the default record replaces whatever the file held.
bool StoreDefaults(const std::filesystem::path& programFolder);

}  // namespace tl
