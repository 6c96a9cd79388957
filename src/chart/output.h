// The text side of the output commands (save, save as, print): when the
// report counts as empty and how the extra-information text is appended.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// The report box holds nothing to save: its text with leading and trailing
// spaces removed is empty. Only spaces count; line breaks do not.
bool IsEmptyReport(std::string_view boxText);

// What each output command adds after the box text in what it writes or
// prints (the box itself keeps the report as it is): CR LF and the
// extra-information text; nothing when that text holds only blanks and line
// ends.
std::string ExtraTextAppendix(std::string_view extraText);

// Every line end (CR LF, a lone LF or a lone CR) as CR LF.
std::string ToCrLf(std::string_view text);

}  // namespace tl
