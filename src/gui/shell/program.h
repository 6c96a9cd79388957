// What the desktop program sets up before its first window: the font
// substitutes, the fonts of the windows and the Chinese texts of the
// platform's dialogs.
#pragma once

#include <filesystem>

class QApplication;

namespace tl {

void PrepareApplication(QApplication& app);

// The program folder: the folder of the executable. reco.dat, shezhi.ini,
// the folder save and help.txt live there.
std::filesystem::path ProgramFolder();

}  // namespace tl
