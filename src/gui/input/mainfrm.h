// The input window: the birth fields, the report box, the column of command
// buttons and the extra-information panel. It reads its controls, calls the
// core for the run, the report and the archive, and shows what comes back.
//
// Controls:
//   Text1      name box ("姓名:")
//   Option1/2  sex: 男 / 女
//   Option3/4  calendar of the entered date: Gregorian / lunar; the clickable
//              labels Label11 "公历" and Label12 "农历" select them
//   Check1     leap lunar month; Label10 "是闰月" toggles it
//   Check2     apply true solar time; Label13 "真太阳时" toggles it
//   Check3     move a daylight-saving clock time back to standard time,
//              ticked whenever the selected date and time lie in daylight
//              saving time; Label15 "夏令时" toggles it
//   Combo1     year list, kCalendarFirstYear..kCalendarLastYear (1900..2100)
//   Combo2     month list, 1..12
//   Combo3     day list, always 1..31
//   Combo4     hour list, 0..23
//   Combo9     minute list, 0..59
//   Combo10    "子时换日": "23点" (the day pillar changes at 23:00) or "0点",
//              kept in the program folder's zishi.ini; Label14 its caption
//   Combo11    "国家/地区" list: 中国 (first, the default), the countries of
//              the world list, and "自定义经纬度" at the end; Label16 its
//              caption
//   Combo5     birth province list; for another country its regions, with
//              "全部" (all its cities) first
//   Combo6     birth place list of the chosen province; for another country
//              the cities of the chosen region, in which a typed name finds
//              a city
//   Text4      "自定义经纬度": the longitude, degrees east
//   Combo12    "自定义经纬度": the zone of the time-zone database, typed or
//              chosen
//   Label2     red branch name of the chosen hour, e.g. "丑时"
//   RichTextBox1  the report box
//   Picture2   extra-information panel: Label7 its caption, Text3 the notes
//              appended when the report is saved or printed, Image1 the
//              picture that hides the panel
//   Command1   "开始排盘": one chart run
//   Command2   "保存结果": save into the archive
//   Command7   "另存为...": save the report as a text file
//   Command3   "打印结果": print the report
//   Command12  "导出图片": the report as PNG pictures to be read on a phone
//   Command13  "导出PDF": the report as a PDF document
//   Command4   "读取存档": open the archive window
//   Command5   "信息窗口": show or hide the extra-information panel
//   Command8   "万年日历": open the perpetual calendar
//   Command6   "系统设置": open the settings window
//   Command9   "系统帮助": open the help window
//   Command11  "流年流月": the periods window of the last run's chart, enabled
//              after a run
//   Command10  "退出系统": end the program at once
#pragma once

#include <QDateTime>
#include <QPrinter>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "archive/record.h"
#include "chart/input.h"
#include "place/world_gazetteer.h"
#include "report/report.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/report_target.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
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
    // The exports: the report as it would be printed, extra text included,
    // as pictures or a PDF file; the box stays as it is.
    void ExportPicture();
    void ExportPdf();
    // Shows the extra-information panel when hidden, hides it when shown.
    void ToggleInfoPanel();
    // Puts a birth into the fields so that the start button charts exactly
    // it: Gregorian, the date and clock time, the 子 rule, no true solar time
    // and no daylight saving time.
    void FillBirth(const Date& date, int hour, int minute, bool dayChangesAt23);
    // The chart of the last run while the report box shows its report.
    const std::optional<Chart>& LastChart() const { return chart_; }

    // What the archive window brings back: a text into the report box, and
    // the extra-information text emptied; or a birth to chart again.
    bool LoadReportFile(const std::filesystem::path& file, const ChartRecord& record) override;
    bool ImportReportFile(const std::filesystem::path& file) override;
    void ClearExtraText() override;
    void Rechart(const ChartRecord& record) override;

    // The archive fields of the last completed run.
    const ChartRecord& CurrentRecord() const { return current_; }
    // The record "保存结果" files the report box under: that of the last run,
    // or of the report read back from the archive; none before any run and
    // after an import.
    const std::optional<ChartRecord>& RecordOfReport() const { return recordOfReport_; }
    RichTextBox* ReportBox() const { return RichTextBox1; }
    bool InfoPanelShown() const;
    bool IsMale() const { return isMale_; }
    bool IsSolarInput() const { return isSolarInput_; }

signals:
    void archiveRequested();
    void settingsRequested();
    void calendarRequested();
    void helpRequested();
    void periodsRequested();
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A change of script: the hour label, the birthplace lists and the 子
    // hour list, which come from the core, are shown again in it.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Initialise();
    void ApplyDisplaySettings();
    void FillProvinceList();
    void FillPlaceList();
    void BuildCountryControls(QGridLayout* top, int column);
    void FillCountryList();
    void CountryChanged();
    void FillCityList();
    // Whether the birthplace is complete: a city of the list or a valid
    // longitude and zone abroad (always in China). The start button is
    // enabled only then.
    bool PlaceComplete() const;
    void UpdatePlaceState();
    std::optional<WorldPlace> SelectedWorldPlace() const;
    void PlaceInfoPanel();
    void BuildDayChangeControls(QGridLayout* top, int column);
    void InitialiseDayChange();
    void BuildDaylightSavingControls(QHBoxLayout* row);
    void ConnectClockControls();
    void UpdateDaylightSaving();
    InputSelections Selections() const;
    void ShowReport(const QString& text, const std::vector<TextRange>& red);
    MessageResult Tip(const QString& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok);
    // CR LF and the extra-information text, added to what is saved or
    // printed; empty for an empty extra text.
    QString ExtraTextAppendix() const;
    // The path an export dialog suggests: the person's name and birth date
    // of the last run, in the user's `location` folder.
    QString SuggestedExportPath(int location, const QString& suffix) const;
    // The export dialog, with the suffix added where the name has none, and
    // the question about files that exist already. Empty when cancelled.
    std::optional<QString> AskExportPath(const QString& title, const QString& filter, const QString& suggested,
                                         const QString& suffix);
    // The files that already exist among `paths`, asked about once.
    bool MayReplace(const QStringList& paths);

    std::filesystem::path programFolder_;
    Dialogs& dialogs_;
    Clock clock_;
    std::function<bool()> frameClosing_;
    bool isMale_ = true;
    bool isSolarInput_ = true;
    ChartRecord current_;
    std::optional<Chart> chart_;
    std::optional<ChartRecord> recordOfReport_;
    // The notice that daylight saving time cannot be known is shown once.
    bool daylightSavingUnknownTold_ = false;
    // Names the exported files: the name and birth date of the last run,
    // the imported file's name, or empty for a report from the archive.
    QString exportStem_;
    // Kept from print to print: the printer and settings last chosen.
    std::unique_ptr<QPrinter> printer_;
    // The country list: position 0 中国, then these codes, then 自定义经纬度.
    std::vector<std::string_view> countryCodes_;
    // The cities the place list shows for another country, in list order.
    std::vector<WorldCity> shownCities_;

public:
    // Controls, named as the window has always named them.
    QLineEdit* Text1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    ClickLabel* Label15 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QComboBox* Combo9 = nullptr;
    QComboBox* Combo5 = nullptr;
    QComboBox* Combo6 = nullptr;
    QComboBox* Combo10 = nullptr;
    QComboBox* Combo11 = nullptr;
    QLabel* Label16 = nullptr;
    QLineEdit* Text4 = nullptr;
    QComboBox* Combo12 = nullptr;
    QLabel* Label14 = nullptr;
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
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
};

}  // namespace tl
