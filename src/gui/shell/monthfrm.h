// The main frame: a multiple-document frame holding the input window, the
// menu bar, the splash timer and the end of the program.
//
// Controls:
//   Timer1    200 ms splash timer: about window on tick 1, closed on tick 11
//   tl_sys    menu " 系统": cmsave save result, cmprint print, cmpng and
//             cmpdf export a picture or a PDF, cmread archive window,
//             cmasave save as, cmout end the program; cmno2 and cmno
//             are separator lines
//   tl_pp     menu " 排盘工具": cmmin perpetual calendar, cmreverse 八字反推
//   cmoption  menu " 选项": cmsys settings window
//   cmwindow  menu "窗口": cmpai bring the input window to the front, cmadd
//             show or hide its extra-information panel
//   tl_help   menu " 帮助": cmhelp help window, cmabout about window
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <filesystem>
#include <functional>

#include "folders/program_folder.h"
#include "gui/archive/readfrm.h"
#include "gui/input/mainfrm.h"
#include "gui/periods/periodsfrm.h"
#include "gui/perpetual/wlifrm.h"
#include "gui/reverse/reversefrm.h"
#include "gui/settings/systemfrm.h"
#include "gui/shell/helpfrm.h"
#include "gui/shell/logofrm.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace tl {

class Dialogs;

class MonthFrm : public QMainWindow {
    Q_OBJECT
public:
    // `programFolder` holds the program's files and its manual (a single
    // folder converts to one holding both); `endProgram` ends the program at
    // once ("退出系统"): no question, no close queries, nothing saved.
    MonthFrm(ProgramFolder programFolder, Dialogs& dialogs, std::function<void()> endProgram,
             MainFrm::Clock clock = {}, QWidget* parent = nullptr);
    ~MonthFrm() override;

    MainFrm* Input() const { return mainfrm_; }
    QMdiSubWindow* InputWindow() const { return inputWindow_; }
    QTimer* Timer1() const { return timer1_; }
    // The about window and the help window while they are open, else null.
    LogoFrm* About() const { return logo_; }
    HelpFrm* Help() const { return help_; }
    // The archive, settings and calendar windows while they are open.
    ReadFrm* Archive() const { return archive_; }
    SystemFrm* SettingsWindow() const { return settings_; }
    WliFrm* Calendar() const { return calendar_; }
    ReverseFrm* Reverse() const { return reverse_; }
    PeriodsFrm* Periods() const { return periods_; }
    bool FrameClosing() const { return frameClosing_; }
    std::int16_t SplashCounter() const { return splashCounter_; }

    // One tick of Timer1: the about window shows on the first tick as the
    // splash and closes on the eleventh, which also stops the timer.
    void Timer1Tick();
    // "关于系统" and "软件帮助": the one window, brought forward when open.
    void ShowAbout();
    void ShowHelp();
    // "排盘系统窗口": the input window, shown and in front.
    void ShowInput();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddItem(class QMenu* menu, const char* name, const char* caption);
    void BuildMenus();
public:
    // The archive, settings and perpetual calendar windows, modal: each
    // exists at most once, whichever of its two entry points opens it.
    void OpenArchive();
    void OpenSettings();
    void OpenCalendar();
    // "八字反推" from the tools menu; "流年流月" after a run, from the input
    // window.
    void OpenReverse();
    void OpenPeriods();

private:

    ProgramFolder programFolder_;
    Dialogs& dialogs_;
    std::function<void()> endProgram_;
    MainFrm::Clock clock_;
    QMdiArea* mdi_ = nullptr;
    MainFrm* mainfrm_ = nullptr;
    QMdiSubWindow* inputWindow_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::int16_t splashCounter_ = 0;
    bool frameClosing_ = false;
    QPointer<LogoFrm> logo_;
    QPointer<HelpFrm> help_;
    QPointer<ReadFrm> archive_;
    QPointer<SystemFrm> settings_;
    QPointer<WliFrm> calendar_;
    QPointer<ReverseFrm> reverse_;
    QPointer<PeriodsFrm> periods_;
};

}  // namespace tl
