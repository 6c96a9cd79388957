// The help window: the manual help.txt, shown as plain text. Escape and its
// own close button close it, also where no window manager gives it a title
// bar.
//
// Controls:
//   RichTextBox1  the manual, or "帮助文件丢失!" when help.txt is missing
//   Command1      "关闭": closes the window
#pragma once

#include <QWidget>

#include <filesystem>

class QPushButton;

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
    QPushButton* Command1 = nullptr;
};

}  // namespace tl
