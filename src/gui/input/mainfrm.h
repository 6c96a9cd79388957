// The input window: the birth fields, the report box, the column of command
// buttons and the extra-information panel. It reads its controls, calls the
// core for the run, the report and the archive, and shows what comes back.
#pragma once

#include <QDateTime>
#include <QPrinter>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

#include "archive/record.h"
#include "chart/input.h"
#include "chart/report.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/report_target.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tl {

class ClickLabel;
class Dialogs;
class RichTextBox;

class MainFrm : public QWidget, public ReportTarget {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // `programFolder` holds reco.dat, shezhi.ini and the folder save; `clock`
    // gives today's date and time for the start selections.
    MainFrm(std::filesystem::path programFolder, Dialogs& dialogs, Clock clock = {}, QWidget* parent = nullptr);
    ~MainFrm() override;

    // The close query: the window closes only while the frame is closing.
    void SetFrameClosingQuery(std::function<bool()> frameClosing);

    // One chart run (the start button).
    void StartChart();
    // The output commands.
    void SaveResult();
    void SaveResultAs();
    void PrintResult();
    // Shows the extra-information panel when hidden, hides it when shown.
    void ToggleInfoPanel();

    // What the archive window brings back: a text into the report box, and
    // the extra-information text emptied.
    bool LoadReportFile(const std::filesystem::path& file) override;
    void ClearExtraText() override;

    // The archive fields of the last completed run.
    const ChartRecord& CurrentRecord() const { return current_; }
    RichTextBox* ReportBox() const { return RichTextBox1; }
    bool InfoPanelShown() const;
    bool IsMale() const { return isMale_; }
    bool IsSolarInput() const { return isSolarInput_; }

signals:
    void archiveRequested();
    void settingsRequested();
    void calendarRequested();
    void helpRequested();
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Initialise();
    void ApplyDisplaySettings();
    void FillProvinceList();
    void FillPlaceList();
    void PlaceInfoPanel();
    InputSelections Selections() const;
    void ShowReport(const QString& text, const std::vector<TextRange>& red);
    MessageResult Tip(const QString& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok);
    // Appends CR LF and the extra-information text to the box.
    void AppendExtraText();
    QString ExtraText() const;

    std::filesystem::path programFolder_;
    Dialogs& dialogs_;
    Clock clock_;
    std::function<bool()> frameClosing_;
    bool isMale_ = true;
    bool isSolarInput_ = true;
    ChartRecord current_;
    // Kept from print to print: the printer and settings last chosen.
    std::unique_ptr<QPrinter> printer_;

public:
    // Controls, named as the window has always named them.
    QLineEdit* Text1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QComboBox* Combo9 = nullptr;
    QComboBox* Combo5 = nullptr;
    QComboBox* Combo6 = nullptr;
    QLabel* Label2 = nullptr;
    ClickLabel* Label10 = nullptr;
    ClickLabel* Label11 = nullptr;
    ClickLabel* Label12 = nullptr;
    ClickLabel* Label13 = nullptr;
    RichTextBox* RichTextBox1 = nullptr;
    QFrame* Picture2 = nullptr;
    QLabel* Label7 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    ClickLabel* Image1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
};

}  // namespace tl
