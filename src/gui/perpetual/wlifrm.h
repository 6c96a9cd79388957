// The perpetual calendar window: one Gregorian month from 1900 to 2021 as a
// grid of day cells with their lunar days and solar terms; the mouse over a
// day shows its sexagenary year, month, day and first double-hour.
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

    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2021;
    // Indices of the label array: day cells 0..38, the weekday header
    // 42..48, the lunar cells 49..87 (cell i + 49 under day cell i).
    static constexpr int kHeaderBase = 42;
    static constexpr int kLunarBase = 49;
    static constexpr int kLabelCount = 88;
    // Only day cells up to this index react to the mouse.
    static constexpr int kLastHoverCell = 36;

    // `today` gives the month the window opens on; a year the list cannot
    // select opens the same month of 2021.
    explicit WliFrm(Today today = {}, QWidget* parent = nullptr);

    // The mouse over label `index` of the array.
    void Label1MouseMove(int index);
    // Redraws the month the two lists select.
    void ShowMonth();

    int CurrentDay() const { return currentDay_; }
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

    int currentDay_ = 1;
    MonthView view_;
};

}  // namespace tl
