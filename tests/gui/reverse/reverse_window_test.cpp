// The window "八字反推": its lists, the windows it finds, and the birth it
// puts into the input window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "calendar/pillars.h"
#include "calendar/reverse.h"
#include "gui/input/mainfrm.h"
#include "gui/reverse/reversefrm.h"
#include "gui/shell/monthfrm.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"

namespace tl::test {

class ReverseWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;

    static std::vector<int> Data(const QComboBox* combo) {
        std::vector<int> out;
        for (int i = 0; i < combo->count(); ++i) out.push_back(combo->itemData(i).toInt());
        return out;
    }

private slots:
    void listsFollowTheYearTheDayAndTheRule() {
        ReverseFrm w(At(1985, 3, 12, 9, 5), true, {});
        QCOMPARE(w.windowTitle(), QStringLiteral("八字反推"));
        // It opens on the pillars of its clock's minute, which it finds.
        const Pillars now = ComputePillars({1985, 3, 12}, TimeOfDay::Hms(9, 5));
        const Pillars shown{w.Combo1->currentData().toInt(), w.Combo2->currentData().toInt(),
                            w.Combo3->currentData().toInt(), w.Combo4->currentData().toInt()};
        QVERIFY(shown == now);
        QVERIFY(!w.Windows().empty());
        QCOMPARE(w.Combo1->count(), 60);
        QCOMPARE(w.Combo3->count(), 60);
        for (Pillar year : {1, 7, 60}) {
            w.Combo1->setCurrentIndex(year - 1);
            const auto months = MonthPillarsOfYear(year);
            QVERIFY(Data(w.Combo2) == std::vector<int>(months.begin(), months.end()));
        }
        w.Combo3->setCurrentIndex(3);  // 丁卯
        QVERIFY(Data(w.Combo4) == HourPillarsOfDay(4, true));
        w.Combo5->setCurrentIndex(1);  // 0点: the late 子 hour joins the list
        QVERIFY(Data(w.Combo4) == HourPillarsOfDay(4, false));
        QCOMPARE(w.Combo4->itemText(12), QStringLiteral("壬子 (23点起)"));

        QVERIFY(w.SelectPillars({7, 19, 4, 41}));
        QCOMPARE(w.List1->count(), 2);
        QCOMPARE(w.List1->item(0)->text(), QStringLiteral("1990-07-01 07:00  至  1990-07-01 08:59"));
        QCOMPARE(w.Label1->text(), QStringLiteral("共2个时段"));
    }

    // A birth at 23:30 under the 0点 rule in daylight saving time (July
    // 1988): chosen in the window, it fills the input window so that the
    // run charts exactly its pillars, the 夏令时 box unticked.
    void choosingAWindowFillsTheInputWindow() {
        MonthFrm frame(PathOf(dir_), dialogs_, [] {}, [] { return At(1985, 3, 12, 9, 5); });
        frame.Timer1()->stop();
        frame.Input()->Check2->setChecked(true);
        QAction* item = frame.findChild<QAction*>(QStringLiteral("cmreverse"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("八字反推"));
        item->trigger();
        ReverseFrm* w = frame.Reverse();
        QVERIFY(w && w->isVisible());

        const Pillars birth = ComputePillars({1988, 7, 1}, TimeOfDay::Hms(23, 30), false);
        w->Combo5->setCurrentIndex(1);
        QVERIFY(w->SelectPillars(birth));
        int row = -1;
        for (std::size_t i = 0; i < w->Windows().size(); ++i)
            if (w->Windows()[i].first.date == Date{1988, 7, 1}) row = static_cast<int>(i);
        QVERIFY(row >= 0);
        QCOMPARE(w->Windows()[static_cast<std::size_t>(row)].first.hour, 23);
        w->List1->setCurrentRow(row);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!w->isVisible());

        MainFrm& in = *frame.Input();
        QVERIFY(in.Option3->isChecked());
        QCOMPARE(in.Combo1->currentText(), QStringLiteral("1988"));
        QCOMPARE(in.Combo2->currentText(), QStringLiteral("7"));
        QCOMPARE(in.Combo3->currentText(), QStringLiteral("1"));
        QCOMPARE(in.Combo4->currentText(), QStringLiteral("23"));
        QCOMPARE(in.Combo9->currentText(), QStringLiteral("0"));
        QCOMPARE(in.Combo10->currentIndex(), 1);
        QVERIFY(!in.Check2->isChecked());
        QVERIFY(!in.Check3->isChecked());
        dialogs_.answers.push_back(MessageResult::Ok);  // no name: go on
        in.StartChart();
        QVERIFY(in.LastChart());
        const Chart& c = *in.LastChart();
        QVERIFY((Pillars{c.yearPillar, c.monthPillar, c.dayPillar, c.hourPillar}) == birth);
    }
};

TL_GUI_TEST(reverse_window_test, ReverseWindowTest);

}  // namespace tl::test

#include "reverse_window_test.moc"
