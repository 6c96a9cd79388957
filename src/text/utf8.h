// Counting and cutting UTF-8 text by characters, and by display columns of a
// fixed-width font in which every Chinese character takes two columns.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// Number of characters (code points) in UTF-8 text.
std::size_t Utf8Length(std::string_view s);
// The first n characters.
std::string Utf8Left(std::string_view s, std::size_t n);
// Cut to n characters, or padded with spaces to n.
std::string FitChars(std::string_view s, std::size_t n);
// Display columns: one for ASCII, two for every other character.
std::size_t DisplayWidth(std::string_view s);
// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view s);
// Leading and trailing blanks (spaces, tabs, full-width spaces) removed.
std::string Trim(std::string_view s);

}  // namespace tl
