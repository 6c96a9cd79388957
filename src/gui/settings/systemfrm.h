// The settings window: font, text colour and background of the report box,
// applied at once and kept in shezhi.ini.
//
// Controls:
//   Command1  "设置文本字体...": font, style and text colour of the report
//   Command2  "设置文本背景色...": background colour of the report box
//   Command4  "还原默认设置": 宋体 10.5, black on the window colour
//   Option1/2 "简体 / 繁體": the script of the reports, the calendar and the
//             windows, kept in tenglan.conf
//   Command3  "返 回": close the window
#pragma once

#include <QDialog>
#include <QtGlobal>

#include <filesystem>

#include "settings/settings.h"
#include "text/script.h"

class QPushButton;
class QRadioButton;

namespace tl {

class Dialogs;
class RichTextBox;

class SystemFrm : public QDialog {
    Q_OBJECT
public:
    SystemFrm(std::filesystem::path programFolder, Dialogs& dialogs, RichTextBox& box, QWidget* parent = nullptr);

    // "设置文本字体...": the font dialog with effects and colour.
    void ChooseFont();
    // "设置文本背景色...": the colour dialog, starting from the colour the
    // box shows.
    void ChooseBackground();
    // "还原默认设置".
    void RestoreDefaults();

    // "简体 / 繁體": kept in the program folder's tenglan.conf and taken at
    // once by the windows' texts and by every report, export and calendar
    // shown from now on; a report the box holds stays as it was written.
    void ChooseScript(Script script);


    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;

private:
    std::filesystem::path programFolder_;
    Dialogs& dialogs_;
    RichTextBox& box_;
};

}  // namespace tl
