// tenglan_gui_probe: starts the frame as the program does, runs one chart
// and reports how long the start and the run took until they were on the
// screen; saves pictures of the frame, the about window and the help window.
//
//   tenglan_gui_probe OUT_PREFIX [PROGRAM_FOLDER]
//
// Prints the wall-clock time (ns) at entry and when the frame was first
// painted, so that a caller can add the time before main().
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "folders/program_folder.h"
#include "gui/toolkit/script_display.h"
#include "gui/input/mainfrm.h"
#include "gui/toolkit/dialogs.h"
#include "gui/shell/helpfrm.h"
#include "gui/shell/logofrm.h"
#include "gui/shell/monthfrm.h"
#include "gui/shell/program.h"
#include "gui/toolkit/richtextbox.h"

namespace {

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Notes the first paint of a widget after it was armed.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void WaitFor(const bool& flag) {
    QElapsedTimer t;
    t.start();
    while (!flag && t.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char* argv[]) {
    const long long entry = NowNs();
    QElapsedTimer sinceEntry;
    sinceEntry.start();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tenglan_gui_probe OUT_PREFIX [PROGRAM_FOLDER]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    tl::PrepareApplication(app);
    std::string error;
    const tl::ProgramFolder folder =
        argc > 2 ? tl::ProgramFolder(argv[2]) : tl::ThisProgramFolder(error).value_or(tl::ProgramFolder());
    tl::QtDialogs dialogs;
    // The script the program would start in there.
    tl::SetDisplayScript(tl::StartScript(folder.files));
    tl::MonthFrm frame(folder, dialogs, [] { QCoreApplication::exit(0); },
                       [] { return QDateTime(QDate(1985, 3, 12), QTime(9, 5)); });
    PaintWatch framePaint;
    frame.installEventFilter(&framePaint);
    frame.showMaximized();
    WaitFor(framePaint.painted);
    // Without a window manager nothing maximizes the frame: give it the
    // screen.
    if (frame.screen() && frame.size() != frame.screen()->availableGeometry().size())
        frame.setGeometry(frame.screen()->availableGeometry());
    const long long shown = NowNs();
    const qint64 startMs = sinceEntry.nsecsElapsed();
    std::printf("entry_ns %lld\nframe_shown_ns %lld\nmain_to_frame_ms %.2f\n", entry, shown, startMs / 1e6);

    // The splash as it shows on the first tick.
    frame.Timer1()->stop();
    frame.Timer1Tick();
    PaintWatch logoPaint;
    frame.About()->installEventFilter(&logoPaint);
    WaitFor(logoPaint.painted);
    frame.About()->grab().save(out + QStringLiteral("-about.png"));
    frame.About()->close();
    QApplication::processEvents();

    // One run: a name, a date, the start button; timed until the box has
    // painted the report.
    tl::MainFrm* input = frame.Input();
    input->Text1->setText(QStringLiteral("张三"));
    input->Combo5->setCurrentIndex(1);
    QApplication::processEvents();
    QApplication::processEvents();
    PaintWatch boxPaint;
    input->ReportBox()->viewport()->installEventFilter(&boxPaint);
    QElapsedTimer run;
    run.start();
    input->Command1->click();
    WaitFor(boxPaint.painted);
    const qint64 runNs = run.nsecsElapsed();
    std::printf("start_button_to_report_ms %.2f\n", runNs / 1e6);

    // Repeated runs for a steadier figure.
    double total = 0;
    const int runs = 20;
    for (int i = 0; i < runs; ++i) {
        boxPaint.painted = false;
        run.restart();
        input->Command1->click();
        WaitFor(boxPaint.painted);
        total += run.nsecsElapsed() / 1e6;
    }
    std::printf("start_button_to_report_mean_ms %.2f\n", total / runs);

    // Pictures: the frame with the report from the top, scrolled to the luck
    // and annual pillars, and the help window.
    input->ReportBox()->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    frame.grab().save(out + QStringLiteral("-frame.png"));
    const int luck = input->ReportBox()->Text().indexOf(QStringLiteral("大运干支"));
    if (luck > 0) {
        QTextCursor c(input->ReportBox()->document());
        c.setPosition(luck - input->ReportBox()->Text().left(luck).count(QStringLiteral("\r\n")));
        input->ReportBox()->setTextCursor(c);
        input->ReportBox()->verticalScrollBar()->setValue(input->ReportBox()->cursorRect().top() +
                                                          input->ReportBox()->verticalScrollBar()->value() - 40);
        QApplication::processEvents();
        frame.grab().save(out + QStringLiteral("-frame-luck.png"));
        input->ToggleInfoPanel();
        QApplication::processEvents();
        frame.grab().save(out + QStringLiteral("-frame-panel.png"));
        input->ToggleInfoPanel();
    }
    // The report as the printer gets it, into a PDF file.
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out + QStringLiteral("-report.pdf"));
        input->ReportBox()->PrintTo(printer);
    }
    // The archive, settings and calendar windows (the calendar on
    // February 2008).
    frame.OpenArchive();
    QApplication::processEvents();
    if (frame.Archive()) {
        frame.Archive()->grab().save(out + QStringLiteral("-archive.png"));
        frame.Archive()->close();
    }
    frame.OpenSettings();
    QApplication::processEvents();
    if (frame.SettingsWindow()) {
        frame.SettingsWindow()->grab().save(out + QStringLiteral("-settings.png"));
        frame.SettingsWindow()->close();
    }
    frame.OpenCalendar();
    QApplication::processEvents();
    if (tl::WliFrm* calendar = frame.Calendar()) {
        calendar->Combo1->setCurrentIndex(2008 - 1900);
        calendar->Combo2->setCurrentIndex(1);
        calendar->Label1MouseMove(8);
        QApplication::processEvents();
        calendar->grab().save(out + QStringLiteral("-calendar.png"));
        calendar->close();
    }
    QApplication::processEvents();
    frame.ShowHelp();
    QApplication::processEvents();
    if (frame.Help()) {
        frame.Help()->resize(1200, 800);
        QApplication::processEvents();
        frame.Help()->grab().save(out + QStringLiteral("-help.png"));
    }
    std::fflush(stdout);
    return 0;
}
