// GBK (code page 936) at the file boundary. Everything inside the program is
// UTF-8; files on disk are GBK.
#pragma once

#include <string>
#include <string_view>

namespace tl {

// UTF-8 → GBK. A character GBK cannot hold becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);
// GBK → UTF-8. A byte sequence that is not GBK becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace tl
