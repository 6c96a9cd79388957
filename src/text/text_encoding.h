// The encoding an imported text file is read in. The program's own files
// (saved reports, the manual) are GB18030; a file brought in from elsewhere
// is often UTF-8, which is recognised rather than shown as mojibake.
#pragma once

#include <string>
#include <string_view>

namespace tl {

enum class TextEncoding { Utf8, Gb18030 };

// UTF-8 when the bytes start with the UTF-8 byte-order mark, or when they
// are well-formed UTF-8 and not plain ASCII; otherwise GB18030, which reads
// every GBK file. Plain ASCII reads the same either way.
TextEncoding ImportedTextEncoding(std::string_view bytes);

// The imported bytes as UTF-8 text in the encoding above, without the
// byte-order mark. Bytes that are not UTF-8 in a file marked as UTF-8 become
// U+FFFD; the result is always valid UTF-8.
std::string DecodeImportedText(std::string_view bytes);

}  // namespace tl
