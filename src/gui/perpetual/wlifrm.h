// The perpetual calendar window: one Gregorian month from 1900 to 2100 as a
// grid of day cells with their lunar days and solar terms; today's cell has a
// frame of its own; the mouse over a day shows its sexagenary year, month,
// day and first double-hour.
//
// Controls:
//   Combo1    year list, kCalendarFirstYear..kCalendarLastYear (1900..2100);
//             Label3 "年" after it
//   Combo2    month list, 1..12; Label4 "月" after it
//   Label6    the selected year in large figures
//   Label7    the selected month in large figures
//   Label9    zodiac animal of the month's year
//   Label8    sexagenary name of the month's year, e.g. "丁丑年"
//   Label2    two detail lines of the day under the mouse: sexagenary year,
//             month, day and first double-hour
//   Label5    the month's jie term and its moment, e.g. "立春: 15时23分"
//   Label1[]  the grid: day numbers 0..38, weekday header 42..48, lunar day
//             or term texts 49..87 (cell i + 49 under day cell i)
//   Shape1/2/3  drawn frames: around each day cell, under the header, around
//             the grid; a red frame around today's cell when the month shown
//             holds today
#pragma once

#include <QDate>
#include <QDialog>

#include <array>
#include <functional>

#include "perpetual/month_view.h"

class QComboBox;
class QLabel;

namespace tl {

class WliFrm : public QDialog {
    Q_OBJECT
public:
    using Today = std::function<QDate()>;

    // Indices of the label array: day cells 0..38, the weekday header
    // 42..48, the lunar cells 49..87 (cell i + 49 under day cell i).
    static constexpr int kHeaderBase = 42;
    static constexpr int kLunarBase = 49;
    static constexpr int kLabelCount = 88;
    // Only day cells up to this index react to the mouse.
    static constexpr int kLastHoverCell = 36;

    // `today` gives the month the window opens on and the day it frames; a
    // year the list cannot select opens the same month of the list's last
    // year.
    explicit WliFrm(Today today = {}, QWidget* parent = nullptr);

    // The mouse over label `index` of the array.
    void Label1MouseMove(int index);
    // Redraws the month the two lists select.
    void ShowMonth();

    int CurrentDay() const { return currentDay_; }
    // The day cell framed as today, -1 when the month shown does not hold
    // today.
    int TodayCell() const { return todayCell_; }
    const MonthView& View() const { return view_; }

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    // Null at the indices 39..41, which the window has no label for.
    std::array<QLabel*, kLabelCount> Label1{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    int SelectedYear() const;
    int SelectedMonth() const;

    Date today_;
    int currentDay_ = 1;
    int todayCell_ = -1;
    MonthView view_;
};

}  // namespace tl
