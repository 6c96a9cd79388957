// The script of the texts the program writes: simplified characters, as
// every text is written, or traditional characters for readers in Taiwan,
// Hong Kong and Malaysia.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl {

enum class Script { kHans, kHant };

// "hans" and "hant" (the command line's names); nullopt for any other.
std::optional<Script> ScriptFromName(std::string_view name);

// UTF-8 text in the given script: unchanged for kHans; for kHant converted
// from simplified to traditional characters by OpenCC (Taiwan standard
// characters, no change of vocabulary), with the chart's own terms kept as
// the art writes them (干 the stem, 丑 the branch, 冲 the clash as 沖).
// Every line keeps its characters and its width in columns, so a report's
// columns and its red ranges stay where they were: where a phrase would
// convert to a different number of characters, its characters are
// converted one by one, and a character that would not stay one character
// is kept. The conversion tables are loaded once, on first use; throws
// std::runtime_error when OpenCC's data cannot be loaded.
std::string ToScript(std::string_view utf8, Script script);

}  // namespace tl
