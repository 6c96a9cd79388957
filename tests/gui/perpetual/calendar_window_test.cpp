// The perpetual calendar window: the month grid, the details under the
// mouse and the redraw when the lists change.
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "gui/input/mainfrm.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"
#include "gui/perpetual/wlifrm.h"
#include "gui/shell/monthfrm.h"

namespace tl::test {

class CalendarWindowTest : public QObject {
    Q_OBJECT

    static QColor Colour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

    static void Select(WliFrm& w, int year, int month) {
        w.Combo1->setCurrentIndex(year - 1900);
        w.Combo2->setCurrentIndex(month - 1);
    }

    // Whether the window's picture shows today's red frame on the left edge
    // of day cell `cell` (laid out in twips, 15 to a pixel).
    static bool FramedAt(WliFrm& w, int cell) {
        const QImage shot = w.grab().toImage();
        const int x = (1080 + 1440 * (cell % 7) - 40) / 15;
        const int y = (2400 + 960 * (cell / 7) - 40 + 450) / 15;
        for (int dx = -1; dx <= 1; ++dx)
            if (shot.pixelColor(x + dx, y) == QColor(220, 0, 0)) return true;
        return false;
    }

    // The mouse moving over label `index`, delivered as the label gets it.
    static void Hover(WliFrm& w, int index) {
        QLabel* label = w.Label1[static_cast<std::size_t>(index)];
        const QPointF at(3, 3);
        QMouseEvent move(QEvent::MouseMove, at, label->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &move);
    }


private slots:
    void opensOnTheCurrentMonth() {
        WliFrm w([] { return QDate(2008, 2, 17); });
        QCOMPARE(w.windowTitle(), QStringLiteral("腾岚万年历"));
        QCOMPARE(w.Combo1->count(), 201);
        QCOMPARE(w.Combo1->itemText(0), QStringLiteral("1900"));
        QCOMPARE(w.Combo1->itemText(200), QStringLiteral("2100"));
        QCOMPARE(w.Combo2->count(), 12);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("2008"));
        QCOMPARE(w.Combo2->currentText(), QStringLiteral("2"));
        QCOMPARE(w.Label6->text(), QStringLiteral("2008"));
        QCOMPARE(w.Label7->text(), QStringLiteral("2"));
        QCOMPARE(w.Label3->text(), QStringLiteral("年"));
        QCOMPARE(w.Label4->text(), QStringLiteral("月"));
        const char* const weekdays[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
        for (int c = 0; c < 7; ++c) {
            QLabel* header = w.Label1[static_cast<std::size_t>(WliFrm::kHeaderBase + c)];
            QCOMPARE(header->text(), QString::fromUtf8(weekdays[c]));
            QCOMPARE(Colour(header), c == 0 || c == 6 ? QColor(255, 0, 0) : QColor(0, 0, 255));
        }
    }

    void todayIsFramedInTheMonthShown() {
        WliFrm w([] { return QDate(2026, 12, 9); });
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("2026"));
        QCOMPARE(w.Combo2->currentText(), QStringLiteral("12"));
        // 1 December 2026 is a Tuesday: the 9th is in cell 10.
        QCOMPARE(w.TodayCell(), 10);
        QCOMPARE(w.Label1[10]->text(), QStringLiteral("9"));
        // The frame is drawn on the left edge of cell 10 and of no other.
        QVERIFY(FramedAt(w, 10));
        QVERIFY(!FramedAt(w, 9) && !FramedAt(w, 11));
        // The frame goes with the month: not in another month or year, back
        // with December 2026.
        Select(w, 2026, 11);
        QCOMPARE(w.TodayCell(), -1);
        Select(w, 2025, 12);
        QCOMPARE(w.TodayCell(), -1);
        QVERIFY(!FramedAt(w, 10));
        Select(w, 2026, 12);
        QCOMPARE(w.TodayCell(), 10);
    }

    void december2100IsComplete() {
        WliFrm w([] { return QDate(2026, 12, 9); });
        Select(w, 2100, 12);
        // Wednesday 1 December to Friday the 31st, cells 3..33.
        for (int i = 0; i < 39; ++i) {
            const QString expected = i >= 3 && i <= 33 ? QString::number(i - 2) : QString();
            QCOMPARE(w.Label1[static_cast<std::size_t>(i)]->text(), expected);
            QCOMPARE(w.Label1[static_cast<std::size_t>(WliFrm::kLunarBase + i)]->text().isEmpty(), expected.isEmpty());
        }
        QCOMPARE(w.Label1[WliFrm::kLunarBase + 3]->text(), QStringLiteral("十一月"));
        QCOMPARE(w.Label1[WliFrm::kLunarBase + 9]->text(), QStringLiteral("大雪"));
        QCOMPARE(w.Label1[WliFrm::kLunarBase + 24]->text(), QStringLiteral("冬至"));
        QCOMPARE(w.Label1[WliFrm::kLunarBase + 33]->text(), QStringLiteral("十二月"));
        QCOMPARE(w.Label8->text(), QStringLiteral("庚申年"));
        QCOMPARE(w.Label9->text(), QStringLiteral("猴"));
        QCOMPARE(w.Label5->text(), QStringLiteral("大雪: 9时40分"));
        QCOMPARE(w.TodayCell(), -1);
    }

    void outsideTheListsOpensTheMonthOf2100() {
        WliFrm late([] { return QDate(2101, 5, 9); });
        QCOMPARE(late.Combo1->currentText(), QStringLiteral("2100"));
        QCOMPARE(late.Combo2->currentText(), QStringLiteral("5"));
        QCOMPARE(late.Label7->text(), QStringLiteral("5"));
        QCOMPARE(late.Label1[6]->text(), QStringLiteral("1"));  // 1 May 2100 is a Saturday
        QCOMPARE(late.TodayCell(), -1);
        WliFrm early([] { return QDate(1899, 5, 1); });
        QCOMPARE(early.Combo1->currentText(), QStringLiteral("2100"));
        QCOMPARE(early.Combo2->currentText(), QStringLiteral("5"));
    }

    void february2008() {
        WliFrm w([] { return QDate(2008, 2, 17); });
        // Day 1 on Friday: cells 5..33 hold days 1..29, the rest are empty.
        for (int i = 0; i < 39; ++i) {
            const QString expected = i >= 5 && i <= 33 ? QString::number(i - 4) : QString();
            QCOMPARE(w.Label1[static_cast<std::size_t>(i)]->text(), expected);
            if (expected.isEmpty())
                QCOMPARE(w.Label1[static_cast<std::size_t>(WliFrm::kLunarBase + i)]->text(), QString());
        }
        auto lunar = [&](int cell) { return w.Label1[static_cast<std::size_t>(WliFrm::kLunarBase + cell)]; };
        auto day = [&](int cell) { return w.Label1[static_cast<std::size_t>(cell)]; };
        QCOMPARE(lunar(5)->text(), QStringLiteral("廿五"));
        QCOMPARE(lunar(8)->text(), QStringLiteral("立春"));
        QCOMPARE(lunar(11)->text(), QStringLiteral("一月"));
        QCOMPARE(lunar(23)->text(), QStringLiteral("雨水"));
        const QColor red(255, 0, 0);
        for (int cell : {8, 11, 23}) {
            QCOMPARE(Colour(day(cell)), red);
            QCOMPARE(Colour(lunar(cell)), red);
        }
        for (int cell : {5, 6, 7, 9, 10, 12, 22, 24, 33}) {
            QCOMPARE(Colour(day(cell)), QColor(0, 0, 255));
            QCOMPARE(Colour(lunar(cell)), QColor(0, 0, 0));
        }
        QCOMPARE(w.Label8->text(), QStringLiteral("戊子年"));
        QCOMPARE(w.Label9->text(), QStringLiteral("鼠"));
        QCOMPARE(w.Label5->text(), QStringLiteral("立春: 19时0分"));
        QCOMPARE(w.CurrentDay(), 1);
        QCOMPARE(w.Label2->text(), QStringLiteral("2008年2月1日\n丁亥年 癸丑月 辛未日 戊子起时 "));
    }

    void hoveringShowsTheDetailsOfTheDay() {
        WliFrm w([] { return QDate(2008, 2, 17); });
        Hover(w, 8);  // day 4, 立春
        QCOMPARE(w.CurrentDay(), 4);
        QCOMPARE(w.Label2->text(), QStringLiteral("2008年2月4日\n戊子年 甲寅月 甲戌日 甲子起时 "));
        Hover(w, 7);  // day 3, still the old year and month
        QCOMPARE(w.Label2->text(), QStringLiteral("2008年2月3日\n丁亥年 癸丑月 癸酉日 壬子起时 "));
        // An empty cell, a lunar cell and the header change nothing.
        for (int index : {0, 4, 34, 36, WliFrm::kLunarBase + 8, WliFrm::kHeaderBase + 1}) {
            Hover(w, index);
            QCOMPARE(w.CurrentDay(), 3);
            QCOMPARE(w.Label2->text(), QStringLiteral("2008年2月3日\n丁亥年 癸丑月 癸酉日 壬子起时 "));
        }
    }

    void hoveringTheSameDayAgainKeepsTheDetails() {
        WliFrm w([] { return QDate(2008, 2, 17); });
        Hover(w, 8);
        w.Label2->setText(QStringLiteral("marker"));
        Hover(w, 8);
        QCOMPARE(w.Label2->text(), QStringLiteral("marker"));
        Hover(w, 9);
        QCOMPARE(w.Label2->text(), QStringLiteral("2008年2月5日\n戊子年 甲寅月 乙亥日 丙子起时 "));
    }

    void aLunarNewMonthOnDayOneIsRed() {
        // Every month of some years whose day 1 opens a lunar month: its
        // day and its lunar month name are red.
        WliFrm w([] { return QDate(2008, 2, 17); });
        int seen = 0;
        for (int year = 2000; year <= 2010; ++year) {
            for (int month = 1; month <= 12; ++month) {
                Select(w, year, month);
                const int first = w.View().firstColumn;
                QLabel* lunar = w.Label1[static_cast<std::size_t>(WliFrm::kLunarBase + first)];
                if (!lunar->text().endsWith(QStringLiteral("月"))) continue;
                ++seen;
                QCOMPARE(w.Label1[static_cast<std::size_t>(first)]->text(), QStringLiteral("1"));
                QCOMPARE(Colour(w.Label1[static_cast<std::size_t>(first)]), QColor(255, 0, 0));
                QCOMPARE(Colour(lunar), QColor(255, 0, 0));
            }
        }
        QVERIFY(seen > 0);
    }

    void cells37And38NeverReact() {
        // March 2008 starts on Saturday: day 31 in cell 36.
        WliFrm w([] { return QDate(2008, 3, 1); });
        QCOMPARE(w.Label1[36]->text(), QStringLiteral("31"));
        Hover(w, 36);
        QCOMPARE(w.CurrentDay(), 31);
        QCOMPARE(w.Label1[37]->text(), QString());
        QCOMPARE(w.Label1[38]->text(), QString());
        // Even with text in it, cell 37 does not react.
        w.Label1[37]->setText(QStringLiteral("5"));
        Hover(w, 37);
        QCOMPARE(w.CurrentDay(), 31);
    }

    void switchingMonthsLeavesNoRed() {
        WliFrm w([] { return QDate(2008, 2, 17); });
        Hover(w, 8);
        Select(w, 2008, 3);
        QCOMPARE(w.Label6->text(), QStringLiteral("2008"));
        QCOMPARE(w.Label7->text(), QStringLiteral("3"));
        QCOMPARE(w.CurrentDay(), 1);
        QCOMPARE(w.View().month, 3);
        // March 2008 opens on Saturday: 惊蛰 on the 5th (cell 10), 二月 on
        // the 8th (cell 13) and 春分 on the 20th (cell 25) are red; cells 8,
        // 11 and 23, red in February, are not.
        for (int i = 0; i < 39; ++i) {
            const bool highlighted = i == 10 || i == 13 || i == 25;
            const QColor day = highlighted ? QColor(255, 0, 0) : QColor(0, 0, 255);
            const QColor lunar = highlighted ? QColor(255, 0, 0) : QColor(0, 0, 0);
            QCOMPARE(Colour(w.Label1[static_cast<std::size_t>(i)]), day);
            QCOMPARE(Colour(w.Label1[static_cast<std::size_t>(WliFrm::kLunarBase + i)]), lunar);
        }
        // Another year keeps the month.
        w.Combo1->setCurrentIndex(2006 - 1900);
        QCOMPARE(w.View().year, 2006);
        QCOMPARE(w.View().month, 3);
    }

    void bothEntryPointsOpenOneWindow() {
        QTemporaryDir folder;
        ScriptedDialogs dialogs;
        MonthFrm frame(PathOf(folder), dialogs, [] {}, [] { return At(2008, 2, 4, 9, 5); });
        frame.Timer1()->stop();
        frame.show();
        frame.Input()->Command8->click();
        WliFrm* w = frame.Calendar();
        QVERIFY(w);
        QVERIFY(w->isModal());
        QCOMPARE(w->Combo2->currentText(), QStringLiteral("2"));
        frame.findChild<QAction*>(QStringLiteral("cmmin"))->trigger();
        QCOMPARE(frame.Calendar(), w);
        QCOMPARE(frame.findChildren<WliFrm*>().size(), 1);
    }
};

TL_GUI_TEST(calendar_window_test, CalendarWindowTest);

}  // namespace tl::test

#include "calendar_window_test.moc"
