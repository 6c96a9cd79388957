#include "gui/shell/monthfrm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "gui/toolkit/window_text.h"
#include "gui/toolkit/dialogs.h"
#include "gui/shell/helpfrm.h"
#include "gui/shell/logofrm.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::MonthFrm";

MonthFrm::MonthFrm(ProgramFolder programFolder, Dialogs& dialogs, std::function<void()> endProgram,
                   MainFrm::Clock clock, QWidget* parent)
    : QMainWindow(parent), programFolder_(std::move(programFolder)), dialogs_(dialogs), endProgram_(std::move(endProgram)) {
    setObjectName(QStringLiteral("monthfrm"));
    WithTitle(this, kTr, QT_TR_NOOP("腾岚八字排盘系统"));
    BuildMenus();

    // Frame load: the input window as the only child, maximized inside.
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(mdi_);
    clock_ = clock;
    mainfrm_ = new MainFrm(programFolder_.files, dialogs_, std::move(clock));
    mainfrm_->SetFrameClosingQuery([this] { return frameClosing_; });
    inputWindow_ = mdi_->addSubWindow(mainfrm_);
    inputWindow_->setWindowIcon(windowIcon());
    inputWindow_->showMaximized();

    connect(mainfrm_, &MainFrm::archiveRequested, this, &MonthFrm::OpenArchive);
    connect(mainfrm_, &MainFrm::settingsRequested, this, &MonthFrm::OpenSettings);
    connect(mainfrm_, &MainFrm::calendarRequested, this, &MonthFrm::OpenCalendar);
    connect(mainfrm_, &MainFrm::helpRequested, this, &MonthFrm::ShowHelp);
    connect(mainfrm_, &MainFrm::periodsRequested, this, &MonthFrm::OpenPeriods);
    connect(mainfrm_, &MainFrm::exitRequested, this, [this] { endProgram_(); });

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(200);
    connect(timer1_, &QTimer::timeout, this, &MonthFrm::Timer1Tick);
    timer1_->start();
}

MonthFrm::~MonthFrm() {
    // The help window is a top-level window of its own.
    delete help_.data();
}

QAction* MonthFrm::AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* action = WithText(menu->addAction(QString()), kTr, caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void MonthFrm::BuildMenus() {
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* menu = WithText(menuBar()->addMenu(QString()), kTr, caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    QMenu* sys = addMenu("tl_sys", QT_TR_NOOP(" 系统"));
    // The two rows of dashes are drawn as the separator lines they stand for.
    sys->addSeparator()->setObjectName(QStringLiteral("cmno2"));
    connect(AddItem(sys, "cmsave", QT_TR_NOOP("保存结果")), &QAction::triggered, this, [this] { mainfrm_->SaveResult(); });
    connect(AddItem(sys, "cmprint", QT_TR_NOOP("打印结果...")), &QAction::triggered, this, [this] { mainfrm_->PrintResult(); });
    connect(AddItem(sys, "cmpng", QT_TR_NOOP("导出图片...")), &QAction::triggered, this, [this] { mainfrm_->ExportPicture(); });
    connect(AddItem(sys, "cmpdf", QT_TR_NOOP("导出PDF...")), &QAction::triggered, this, [this] { mainfrm_->ExportPdf(); });
    connect(AddItem(sys, "cmread", QT_TR_NOOP("读取存档...")), &QAction::triggered, this, &MonthFrm::OpenArchive);
    connect(AddItem(sys, "cmasave", QT_TR_NOOP("结果另存为...")), &QAction::triggered, this,
            [this] { mainfrm_->SaveResultAs(); });
    sys->addSeparator()->setObjectName(QStringLiteral("cmno"));
    connect(AddItem(sys, "cmout", QT_TR_NOOP("退出系统")), &QAction::triggered, this, [this] { endProgram_(); });

    QMenu* tools = addMenu("tl_pp", QT_TR_NOOP(" 排盘工具"));
    connect(AddItem(tools, "cmmin", QT_TR_NOOP("万年历")), &QAction::triggered, this, &MonthFrm::OpenCalendar);
    connect(AddItem(tools, "cmreverse", QT_TR_NOOP("八字反推")), &QAction::triggered, this, &MonthFrm::OpenReverse);

    QMenu* options = addMenu("cmoption", QT_TR_NOOP(" 选项"));
    connect(AddItem(options, "cmsys", QT_TR_NOOP("系统设置")), &QAction::triggered, this, &MonthFrm::OpenSettings);

    QMenu* windows = addMenu("cmwindow", QT_TR_NOOP("窗口"));
    connect(AddItem(windows, "cmpai", QT_TR_NOOP("排盘系统窗口")), &QAction::triggered, this, &MonthFrm::ShowInput);
    connect(AddItem(windows, "cmadd", QT_TR_NOOP("信息添加窗口")), &QAction::triggered, this,
            [this] { mainfrm_->ToggleInfoPanel(); });

    QMenu* help = addMenu("tl_help", QT_TR_NOOP(" 帮助"));
    connect(AddItem(help, "cmhelp", QT_TR_NOOP("软件帮助")), &QAction::triggered, this, &MonthFrm::ShowHelp);
    connect(AddItem(help, "cmabout", QT_TR_NOOP("关于系统")), &QAction::triggered, this, &MonthFrm::ShowAbout);
}

void MonthFrm::Timer1Tick() {
    ++splashCounter_;
    if (splashCounter_ < 2) ShowAbout();
    if (splashCounter_ > 10) {
        if (logo_) logo_->close();
        timer1_->stop();
    }
}

void MonthFrm::ShowAbout() {
    if (!logo_) {
        logo_ = new LogoFrm(this);
        logo_->setAttribute(Qt::WA_DeleteOnClose);
        // Centred on the screen of the frame.
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect r = logo_->frameGeometry();
            r.moveCenter(screen->availableGeometry().center());
            logo_->move(r.topLeft());
        }
    }
    logo_->show();
    logo_->raise();
    logo_->activateWindow();
}

void MonthFrm::ShowHelp() {
    if (!help_) {
        help_ = new HelpFrm(programFolder_.manual);
        help_->setAttribute(Qt::WA_DeleteOnClose);
        // The whole screen also where no window manager maximizes windows.
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) help_->setGeometry(screen->availableGeometry());
        help_->showMaximized();
    } else {
        // Brought forward as it is, restored when minimized.
        help_->setWindowState(help_->windowState() & ~Qt::WindowMinimized);
        help_->show();
    }
    help_->raise();
    help_->activateWindow();
}

void MonthFrm::ShowInput() {
    inputWindow_->showMaximized();
    mdi_->setActiveSubWindow(inputWindow_);
    inputWindow_->raise();
}

namespace {

// Shows a modal window: the frame and the input window take no input while
// it is open. It is deleted once closed.
void ShowModal(QDialog* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &QDialog::finished, window, &QObject::deleteLater);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

void MonthFrm::OpenArchive() {
    if (archive_ && archive_->isVisible()) {
        archive_->raise();
        return;
    }
    archive_ = new ReadFrm(programFolder_.files, dialogs_, *mainfrm_, this);
    ShowModal(archive_);
}

void MonthFrm::OpenSettings() {
    if (settings_ && settings_->isVisible()) {
        settings_->raise();
        return;
    }
    settings_ = new SystemFrm(programFolder_.files, dialogs_, *mainfrm_->ReportBox(), this);
    ShowModal(settings_);
}

void MonthFrm::OpenCalendar() {
    if (calendar_ && calendar_->isVisible()) {
        calendar_->raise();
        return;
    }
    calendar_ = new WliFrm([clock = clock_] { return clock ? clock().date() : QDate::currentDate(); }, this);
    ShowModal(calendar_);
}

void MonthFrm::OpenReverse() {
    if (reverse_ && reverse_->isVisible()) {
        reverse_->raise();
        return;
    }
    const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
    reverse_ = new ReverseFrm(
        now, mainfrm_->Combo10->currentIndex() != 1,
        [this](const ClockMinute& m, bool dayChangesAt23) {
            mainfrm_->FillBirth(m.date, m.hour, m.minute, dayChangesAt23);
            ShowInput();
        },
        this);
    ShowModal(reverse_);
}

void MonthFrm::OpenPeriods() {
    if (!mainfrm_->LastChart()) return;
    if (periods_ && periods_->isVisible()) {
        periods_->raise();
        return;
    }
    periods_ = new PeriodsFrm(*mainfrm_->LastChart(), LoadSettings(programFolder_.files), dialogs_, clock_, this);
    ShowModal(periods_);
}

void MonthFrm::closeEvent(QCloseEvent* event) {
    // Closing the frame closes everything, without a question: the flag lets
    // the input window's close query pass.
    frameClosing_ = true;
    mdi_->closeAllSubWindows();
    if (help_) help_->close();
    if (logo_) logo_->close();
    timer1_->stop();
    event->accept();
}

}  // namespace tl
