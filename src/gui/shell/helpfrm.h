// The help window: the manual help.txt, shown as plain text.
//
// Controls:
//   RichTextBox1  the manual, or "帮助文件丢失!" when help.txt is missing
#pragma once

#include <QWidget>

#include <filesystem>

namespace tl {

class RichTextBox;

class HelpFrm : public QWidget {
    Q_OBJECT
public:
    // Loads help.txt of `manualFolder` (the program folder, or the installed
    // data folder of an installed program); without it the box says
    // "帮助文件丢失!".
    explicit HelpFrm(const std::filesystem::path& manualFolder, QWidget* parent = nullptr);

    RichTextBox* RichTextBox1 = nullptr;
};

}  // namespace tl
