// The archive window: the saved charts of reco.dat, read back into the
// input window's report box, marked deleted, or any text file imported.
//
// Controls:
//   List1     the archive list: one line per live record, each followed by
//             an empty line
//   Command1  "读 取": load the selected record's report (also a double click)
//   Command2  "删 除": mark the selected record deleted
//   Command4  "导 入": load any text file into the report box
//   Command3  "返 回": close the window
#pragma once

#include <QDialog>

#include <filesystem>

#include "archive/list.h"

class QListWidget;
class QPushButton;

namespace tl {

class Dialogs;
class ReportTarget;

class ReadFrm : public QDialog {
    Q_OBJECT
public:
    ReadFrm(std::filesystem::path programFolder, Dialogs& dialogs, ReportTarget& target, QWidget* parent = nullptr);

    // Lists every live record, each followed by an empty line, and selects
    // the first line.
    void Refresh();
    // Loads the selected record's saved text into the report box, empties
    // Text3 and closes. An empty line or an empty list does nothing.
    void Read();
    // Marks the selected record deleted and lists the archive again.
    void Delete();
    // Loads any text file chosen in the open dialog, as plain text.
    void Import();

    // The open dialog's filter and its preselected entry.
    static QString ImportFilter();
    static constexpr int kImportFilterIndex = 2;

    // Controls, named as the window has always named them.
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;

private:
    std::filesystem::path programFolder_;
    Dialogs& dialogs_;
    ReportTarget& target_;
    ArchiveList list_;
};

}  // namespace tl
