// The window "流年流月": opened after a run, on the year and month of now,
// the marks in red, following its two lists, printing.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>

#include "chart/run.h"
#include "gui/input/mainfrm.h"
#include "gui/periods/periodsfrm.h"
#include "gui/shell/monthfrm.h"
#include "gui/toolkit/richtextbox.h"
#include "settings/settings.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"

namespace tl::test {

class PeriodsWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;

    // The line of the box text that holds `part`.
    static QString LineWith(const QString& text, const QString& part) {
        for (const QString& line : text.split(QStringLiteral("\r\n")))
            if (line.contains(part)) return line;
        return {};
    }

    static bool RedAt(const RichTextBox& box, const QString& part) {
        const qsizetype at = box.Text().indexOf(part);
        const auto colours = CharacterColors(*box.document());
        return at >= 0 && colours[static_cast<std::size_t>(at)] == QColor(255, 0, 0);
    }

private slots:
    void opensAfterARunOnNow() {
        MonthFrm frame(PathOf(dir_), dialogs_, [] {}, [] { return At(1985, 3, 12, 9, 5); });
        frame.Timer1()->stop();
        MainFrm& in = *frame.Input();
        QVERIFY(!in.Command11->isEnabled());
        in.Text1->setText(QStringLiteral("张三"));
        in.StartChart();
        QVERIFY(in.Command11->isEnabled());
        QTest::mouseClick(in.Command11, Qt::LeftButton);
        PeriodsFrm* w = frame.Periods();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("流年流月"));
        QCOMPARE(w->Combo1->currentText(), QStringLiteral("1985"));
        QCOMPARE(w->Combo2->count(), 12);
        QCOMPARE(w->Combo2->currentText(), QStringLiteral("卯月 己卯"));
        const QString text = w->RichTextBox1->Text();
        QVERIFY(LineWith(text, QStringLiteral("▲本月")).startsWith(QStringLiteral("  卯月   己卯")));
        QVERIFY(LineWith(text, QStringLiteral("▲今日")).startsWith(QStringLiteral("  1985-03-12")));
        QVERIFY(RedAt(*w->RichTextBox1, QStringLiteral("卯月   己卯")));
        QVERIFY(RedAt(*w->RichTextBox1, QStringLiteral("1985-03-12")));
        QVERIFY(!RedAt(*w->RichTextBox1, QStringLiteral("寅月   戊寅")));
        QVERIFY(!w->RichTextBox1->textCursor().hasSelection());

        // Another year: its months, no marks; another month: its days.
        w->Combo1->setCurrentIndex(2024 - 1900);
        QCOMPARE(w->Combo2->currentText(), QStringLiteral("卯月 丁卯"));
        QVERIFY(w->RichTextBox1->Text().startsWith(QStringLiteral("  2024年   流年: 甲辰")));
        QVERIFY(!w->RichTextBox1->Text().contains(QStringLiteral("▲")));
        w->Combo2->setCurrentIndex(0);
        QVERIFY(w->RichTextBox1->Text().contains(QStringLiteral("寅月丙寅流日:\r\n")));
        QVERIFY(w->RichTextBox1->Text().contains(QStringLiteral("\r\n  2024-02-04   戊戌")));

        // It prints.
        const QString pdf = dir_.filePath(QStringLiteral("periods.pdf"));
        dialogs_.printer = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.readAll().startsWith("%PDF"));
        w->close();

        // A text from elsewhere is no run's report: no periods for it.
        const QString file = dir_.filePath(QStringLiteral("other.txt"));
        std::ofstream(file.toStdString()) << "text";
        QVERIFY(in.ImportReportFile(file.toStdString()));
        QVERIFY(!in.Command11->isEnabled());
    }

    // Before 立春 (4 February 2024, 16:27) the calendar year is still the
    // solar year before: 2023, its 丑 month.
    void beforeLiChunItIsTheYearBefore() {
        ChartRequest r;
        r.year = 1990, r.month = 7, r.day = 1, r.hour = 7;
        PeriodsFrm w(RunCalendar(r), DefaultSettings(), dialogs_, [] { return At(2024, 2, 4, 16, 26); });
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("2023"));
        QCOMPARE(w.SelectedMonth(), 12);
        QVERIFY(LineWith(w.RichTextBox1->Text(), QStringLiteral("▲本月")).startsWith(QStringLiteral("  丑月   乙丑")));
        QVERIFY(LineWith(w.RichTextBox1->Text(), QStringLiteral("▲今日")).startsWith(QStringLiteral("  2024-02-04")));
    }
};

TL_GUI_TEST(periods_window_test, PeriodsWindowTest);

}  // namespace tl::test

#include "periods_window_test.moc"
