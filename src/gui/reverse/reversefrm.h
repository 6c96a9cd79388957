// The window "八字反推": four pillars in, the births they stand for out.
// Choosing a birth window puts its first minute into the input window, so
// that a run charts exactly those pillars.
//
// Controls:
//   Combo1    year pillar, the sixty
//   Combo2    month pillar: the twelve that can follow from the year's stem
//   Combo3    day pillar, the sixty
//   Combo4    hour pillar: those that can follow from the day's stem under
//             the 子 rule (under "0点" the late 子 hour last, "23点起")
//   Combo5    子时换日: "23点" or "0点"
//   List1     the birth windows found, in time order
//   Label1    how many windows were found
//   Command1  "填入排盘": fills the input window with the chosen window
//   Command2  "关闭"
#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <vector>

#include "calendar/reverse.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tl {

class ReverseFrm : public QDialog {
    Q_OBJECT
public:
    // A minute of the Beijing clock and the 子 rule to chart it under.
    using Fill = std::function<void(const ClockMinute&, bool dayChangesAt23)>;

    // Opens on the pillars of `now` under the given rule.
    ReverseFrm(const QDateTime& now, bool dayChangesAt23, Fill fill, QWidget* parent = nullptr);

    // Selects the four pillars (the month and hour lists follow the year
    // and day); false when a pillar is not offered.
    bool SelectPillars(const Pillars& p);
    // The first minute of the chosen window into the input window, then
    // the window closes. Nothing without a chosen window.
    void FillChosen();

    const std::vector<BirthWindow>& Windows() const { return windows_; }
    bool DayChangesAt23() const;

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo4 = nullptr;
    QComboBox* Combo5 = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void BuildControls();
    void FillMonthList();
    void FillHourList();
    void Search();

    Fill fill_;
    std::vector<BirthWindow> windows_;
};

}  // namespace tl
