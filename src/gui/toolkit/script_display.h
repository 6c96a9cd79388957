// The script the windows show their texts in: simplified characters, as
// every text is written, or traditional characters. Window texts go through
// Qt's translation (tr()): for traditional characters the program installs
// its translation generated from the simplified texts when it is built.
// Texts the core writes (reports, calendar texts, list items) are converted
// where they reach a window; files and the archive keep what the core wrote
// and are saved in GB18030, which holds both scripts.
#pragma once

#include <QString>

#include <string_view>

#include "text/script.h"

namespace tl {

Script DisplayScript();

// Installs the window texts' translation for `script` (none for simplified
// characters) with Qt's own dialog texts in the same script. The open
// windows set their texts again (RetranslateWindows, and each window's
// change event for texts of the core); windows built afterwards start in
// it.
void SetDisplayScript(Script script);

// A text of the core, UTF-8, in the display script; every line keeps its
// characters, so that ranges counted in characters stay where they were.
QString Shown(std::string_view utf8);
QString Shown(const QString& text);

}  // namespace tl
