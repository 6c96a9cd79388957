// What the desktop program sets up before its first window: the font
// substitutes, the fonts of the windows and the Chinese texts of the
// platform's dialogs.
#pragma once

class QApplication;

namespace tl {

void PrepareApplication(QApplication& app);

}  // namespace tl
