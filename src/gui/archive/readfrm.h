// The archive window: the saved charts of reco.dat, found by name or birth
// year, read back into the input window's report box, charted again,
// marked deleted, or any text file imported.
//
// Controls:
//   Text1     search field "查找:": keeps the records whose name holds the
//             text, or born in the year it names, as one types
//   List1     the archive list: one line per live record, each followed by
//             an empty line
//   Command1  "读 取": load the selected record's report (also a double click)
//   Command5  "重新排盘": chart the selected record's birth again
//   Command2  "删 除": mark the selected record deleted, after a question
//   Command4  "导 入": load any text file into the report box
//   Command3  "返 回": close the window
#pragma once

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

#include "archive/list.h"
#include "archive/record.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tl {

class Dialogs;
class ReportTarget;

class ReadFrm : public QDialog {
    Q_OBJECT
public:
    ReadFrm(std::filesystem::path programFolder, Dialogs& dialogs, ReportTarget& target, QWidget* parent = nullptr);

    // Reads reco.dat anew and lists every live record that matches the
    // search field, each followed by an empty line, and selects the first
    // line.
    void Refresh();
    // Loads the selected record's saved text into the report box, empties
    // Text3 and closes. An empty line or an empty list does nothing.
    void Read();
    // Closes and has the selected record's birth charted again.
    void Rechart();
    // Asks, then marks the selected record deleted and lists the archive
    // again.
    void Delete();
    // Loads any text file chosen in the open dialog, as plain text.
    void Import();

    // The open dialog's filter and its preselected entry.
    static QString ImportFilter();
    static constexpr int kImportFilterIndex = 2;

    // Controls, named as the window has always named them.
    QLineEdit* Text1 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;

private:
    // The list of the records read last, as the search field filters them.
    void ShowList();
    // The selected line's position and record; nothing for an empty line.
    std::optional<int> SelectedRecordPosition() const;

    std::filesystem::path programFolder_;
    std::vector<ChartRecord> records_;
    Dialogs& dialogs_;
    ReportTarget& target_;
    ArchiveList list_;
};

}  // namespace tl
