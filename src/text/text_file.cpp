#include "text/text_file.h"

#include <cerrno>
#include <cstring>

#include "text/gbk.h"

namespace tl {

std::optional<std::string> ReadGbkTextFile(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = ReadRegularFile(path, kMaxTextFileBytes);
    if (!bytes) return std::nullopt;
    return GbkToUtf8(*bytes);
}

bool WriteGbkTextFile(const std::filesystem::path& path, std::string_view utf8, ExistingFile existing) {
    if (!CanWriteGbk(utf8)) {
        errno = EILSEQ;
        return false;
    }
    return ReplaceFile(path, Utf8ToGbk(utf8), existing);
}

bool WriteUtf8TextFile(const std::filesystem::path& path, std::string_view utf8, ExistingFile existing) {
    return ReplaceFile(path, utf8, existing);
}

std::string WriteFailureMessage(const std::filesystem::path& path, int error) {
    if (error == EILSEQ) return std::string(kNoGbkConverterMessage);
    return "保存失败: " + path.string() + ": " + std::strerror(error);
}

}  // namespace tl
