// GBK text files at the file boundary: the program keeps UTF-8 inside and
// reads and writes plain text files (saved reports, help, imported and
// exported texts) as GBK.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_io.h"

namespace tl {

// A plain GBK text file as UTF-8 (a saved report, or any imported file).
// Empty when the file cannot be read, is no regular file or is larger than
// kMaxTextFileBytes.
inline constexpr std::uintmax_t kMaxTextFileBytes = 64u << 20;
std::optional<std::string> ReadGbkTextFile(const std::filesystem::path& path);
// Writes UTF-8 text as GBK, replacing the file only once the whole text is
// written and on disk. By default an existing file is kept as a text editor
// keeps it: a link's target is written, the permission bits stay. False
// when that fails (errno says why; EILSEQ when the text holds characters
// that this system cannot convert, see CanWriteGbk); an existing file is
// then left as it was.
bool WriteGbkTextFile(const std::filesystem::path& path, std::string_view utf8,
                      ExistingFile existing = ExistingFile::kKeep);
// The same with the text written as it is, UTF-8 without a byte-order mark.
bool WriteUtf8TextFile(const std::filesystem::path& path, std::string_view utf8,
                       ExistingFile existing = ExistingFile::kKeep);

// What the user is told when writing `path` failed with `error` (an errno
// value): the path and the system's reason, or that this system cannot
// write Chinese text (EILSEQ).
std::string WriteFailureMessage(const std::filesystem::path& path, int error);

}  // namespace tl
