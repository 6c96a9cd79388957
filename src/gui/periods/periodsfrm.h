// The window "流年流月" of the last chart run: a year with its luck pillar,
// annual pillar and twelve months, the current month marked, and a chosen
// month's days with today marked, each month and day with the ten god and
// the growth stage of the chart's day stem. It prints like the report.
//
// Controls:
//   Combo1        year list, kCalendarFirstYear..kCalendarLastYear; Label1
//                 "年" after it
//   Combo2        the year's twelve months, "寅月 丙寅" .. "丑月 ..."; the
//                 chosen one's days are shown
//   RichTextBox1  the periods text, the marked lines red
//   Command1      "打印(&P)": prints the text
//   Command2      "关闭(&C)"
#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <memory>

#include "chart/chart.h"
#include "settings/settings.h"

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace tl {

class Dialogs;
class RichTextBox;

class PeriodsFrm : public QDialog {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // Opens on the solar year and month that hold the clock's now, the
    // report box style applied to the text.
    PeriodsFrm(const Chart& chart, const Settings& style, Dialogs& dialogs, Clock clock = {},
               QWidget* parent = nullptr);
    ~PeriodsFrm() override;

    // Shows the year and month the two lists select.
    void ShowPeriods();
    void PrintPeriods();

    int SelectedYear() const;
    int SelectedMonth() const;  // 1 = 寅 month .. 12 = 丑 month

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label1 = nullptr;
    RichTextBox* RichTextBox1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void FillMonthList();

    Chart chart_;
    Dialogs& dialogs_;
    Clock clock_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace tl
