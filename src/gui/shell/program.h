// What the desktop program sets up before its first window: the font
// substitutes, the fonts of the windows and the Chinese texts of the
// platform's dialogs.
#pragma once

#include <filesystem>

#include "text/script.h"

class QApplication;

namespace tl {

void PrepareApplication(QApplication& app);

// The script the windows start in: the one the program folder's settings
// file names, else traditional characters under a desktop locale of Taiwan,
// Hong Kong or Macao, else simplified characters.
Script StartScript(const std::filesystem::path& programFolder);

}  // namespace tl
