// The main frame: menus, the splash timer, the window menu, the end of the
// program and closing.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>

#include "folders/program_folder.h"
#include "gui/input/mainfrm.h"
#include "text/gbk.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"
#include "gui/toolkit/clicklabel.h"
#include "gui/shell/helpfrm.h"
#include "gui/shell/logofrm.h"
#include "gui/shell/monthfrm.h"
#include "gui/toolkit/richtextbox.h"

namespace tl::test {

class FrameTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<MonthFrm> frame_;
    int ended_ = 0;

    // A frame whose timer is stopped, so that the test gives the ticks.
    MonthFrm& Open(bool stopTimer = true) {
        frame_.reset();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        ended_ = 0;
        frame_ = std::make_unique<MonthFrm>(PathOf(dir_), *dialogs_, [this] { ++ended_; },
                                            [] { return At(1985, 3, 12, 9, 5); });
        if (stopTimer) frame_->Timer1()->stop();
        frame_->resize(1400, 900);
        frame_->showMaximized();
        return *frame_;
    }

    QAction* Item(MonthFrm& f, const char* name) { return f.findChild<QAction*>(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void cleanup() {
        frame_.reset();
        dialogs_.reset();
    }

    void startup() {
        MonthFrm f(PathOf(dir_), *(dialogs_ = std::make_unique<ScriptedDialogs>()), [] {},
                   [] { return At(1985, 3, 12, 9, 5); });
        // The timer runs from the moment the frame exists.
        QVERIFY(f.Timer1()->isActive());
        QCOMPARE(f.Timer1()->interval(), 200);
        QCOMPARE(f.SplashCounter(), std::int16_t{0});
        QVERIFY(!f.FrameClosing());
        f.showMaximized();
        QVERIFY(f.isMaximized());
        // The input window is the only child, maximized inside the frame.
        QCOMPARE(f.findChildren<QMdiSubWindow*>().size(), 1);
        QVERIFY(f.InputWindow()->isMaximized());
        QCOMPARE(f.InputWindow()->widget(), f.Input());
        QCOMPARE(f.Input()->windowTitle(), QStringLiteral("腾岚八字排盘系统专业版"));
        QCOMPARE(f.Input()->ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        f.Timer1()->stop();
    }

    void menus() {
        MonthFrm& f = Open();
        struct Entry {
            const char* name;
            const char* caption;
        };
        const std::vector<std::pair<Entry, std::vector<Entry>>> expected = {
            {{"tl_sys", " 系统"},
             {{"cmno2", ""},
              {"cmsave", "保存结果"},
              {"cmprint", "打印结果..."},
              {"cmpng", "导出图片..."},
              {"cmpdf", "导出PDF..."},
              {"cmread", "读取存档..."},
              {"cmasave", "结果另存为..."},
              {"cmno", ""},
              {"cmout", "退出系统"}}},
            {{"tl_pp", " 排盘工具"}, {{"cmmin", "万年历"}, {"cmreverse", "八字反推"}}},
            {{"cmoption", " 选项"}, {{"cmsys", "系统设置"}}},
            {{"cmwindow", "窗口"}, {{"cmpai", "排盘系统窗口"}, {"cmadd", "信息添加窗口"}}},
            {{"tl_help", " 帮助"}, {{"cmhelp", "软件帮助"}, {"cmabout", "关于系统"}}},
        };
        const QList<QAction*> bar = f.menuBar()->actions();
        QCOMPARE(bar.size(), static_cast<qsizetype>(expected.size()));
        for (std::size_t m = 0; m < expected.size(); ++m) {
            QAction* menuAction = bar[static_cast<qsizetype>(m)];
            QCOMPARE(menuAction->text(), QString::fromUtf8(expected[m].first.caption));
            QCOMPARE(menuAction->menu()->objectName(), QString::fromLatin1(expected[m].first.name));
            const QList<QAction*> items = menuAction->menu()->actions();
            QCOMPARE(items.size(), static_cast<qsizetype>(expected[m].second.size()));
            for (std::size_t i = 0; i < static_cast<std::size_t>(items.size()); ++i) {
                QCOMPARE(items[static_cast<qsizetype>(i)]->objectName(),
                         QString::fromLatin1(expected[m].second[i].name));
                QCOMPARE(items[static_cast<qsizetype>(i)]->text(), QString::fromUtf8(expected[m].second[i].caption));
                // The two rows of dashes are separator lines, not items.
                QCOMPARE(items[static_cast<qsizetype>(i)]->isSeparator(),
                         QString::fromLatin1(expected[m].second[i].name).startsWith(QStringLiteral("cmno")));
            }
        }
        // The separators do nothing even when triggered.
        const QString before = f.Input()->ReportBox()->Text();
        Item(f, "cmno2")->trigger();
        Item(f, "cmno")->trigger();
        QCOMPARE(f.Input()->ReportBox()->Text(), before);
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(ended_, 0);
    }

    void splashOnTickOneUntilTickEleven() {
        MonthFrm& f = Open();
        QVERIFY(!f.About());
        f.Timer1Tick();
        QVERIFY(f.About());
        QVERIFY(f.About()->isVisible());
        QPointer<LogoFrm> splash = f.About();
        for (int tick = 2; tick <= 10; ++tick) {
            f.Timer1Tick();
            QVERIFY(f.About() == splash);  // ticks 2 to 10 do nothing
            QVERIFY(splash->isVisible());
        }
        f.Timer1()->start();  // the eleventh tick stops the timer
        f.Timer1Tick();
        QCOMPARE(f.SplashCounter(), std::int16_t{11});
        QVERIFY(!f.Timer1()->isActive());
        QTRY_VERIFY(!splash || !splash->isVisible());
        QTRY_VERIFY(!f.About());
    }

    void splashWithTheRealTimer() {
        MonthFrm& f = Open(false);
        QTRY_VERIFY_WITH_TIMEOUT(f.About() && f.About()->isVisible(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.Timer1()->isActive(), 5000);
        QCOMPARE(f.SplashCounter(), std::int16_t{11});
        QTRY_VERIFY(!f.About());
        // The counter is never reset: the splash does not come back.
        QTest::qWait(500);
        QVERIFY(!f.About());
        QCOMPARE(f.SplashCounter(), std::int16_t{11});
    }

    void splashClosedEarlyByItsPicture() {
        MonthFrm& f = Open();
        f.Timer1Tick();
        QVERIFY(f.About());
        QTest::mouseClick(f.About()->Image1, Qt::LeftButton);
        QTRY_VERIFY(!f.About());
        for (int tick = 2; tick <= 11; ++tick) f.Timer1Tick();  // finds nothing to close
        QVERIFY(!f.About());
        // "关于系统" shows the same window again; it stays until clicked.
        Item(f, "cmabout")->trigger();
        QVERIFY(f.About() && f.About()->isVisible());
        QPointer<LogoFrm> about = f.About();
        Item(f, "cmabout")->trigger();
        QCOMPARE(f.About(), about.data());  // one window only
        QTest::mouseClick(about->Label1, Qt::LeftButton);  // the credit line does not react
        QVERIFY(about && about->isVisible());
        QTest::mouseClick(about->Image1, Qt::LeftButton);
        QTRY_VERIFY(!about);
    }

    void windowMenu() {
        MonthFrm& f = Open();
        MainFrm* input = f.Input();
        // "信息添加窗口" twice leaves the panel as it was.
        const bool shown = input->InfoPanelShown();
        Item(f, "cmadd")->trigger();
        QCOMPARE(input->InfoPanelShown(), !shown);
        Item(f, "cmadd")->trigger();
        QCOMPARE(input->InfoPanelShown(), shown);
        // The input window cannot be closed on its own; "排盘系统窗口"
        // brings it to the front.
        QVERIFY(!f.InputWindow()->close());
        QVERIFY(f.InputWindow()->isVisible());
        f.InputWindow()->showMinimized();
        Item(f, "cmpai")->trigger();
        QVERIFY(f.InputWindow()->isMaximized());
        QVERIFY(f.InputWindow()->isVisible());
    }

    void menuCommandsReachTheInputWindow() {
        MonthFrm& f = Open();
        MainFrm* input = f.Input();
        input->Text1->setText(QStringLiteral("张三"));
        QTest::mouseClick(input->Command1, Qt::LeftButton);
        const QString report = input->ReportBox()->Text();
        // Print from the menu: the print dialog, cancelled.
        Item(f, "cmprint")->trigger();
        QCOMPARE(dialogs_->printDialogs, 1);
        // Save as from the menu: the save dialog, cancelled.
        Item(f, "cmasave")->trigger();
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        // The exports from the menu: their dialogs, cancelled.
        Item(f, "cmpng")->trigger();
        Item(f, "cmpdf")->trigger();
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{3});
        QVERIFY(dialogs_->fileDialogs[1].suggested.endsWith(QStringLiteral(".png")));
        QVERIFY(dialogs_->fileDialogs[2].suggested.endsWith(QStringLiteral(".pdf")));
        QCOMPARE(input->ReportBox()->Text(), report);
    }

    void helpFromMenuAndButton() {
        MonthFrm& f = Open();
        Item(f, "cmhelp")->trigger();
        QVERIFY(f.Help());
        QVERIFY(f.Help()->isVisible());
        // Maximized, and the whole screen even where nothing maximizes it.
        QVERIFY(f.Help()->isMaximized());
        QCOMPARE(f.Help()->normalGeometry(), f.screen()->availableGeometry());
        QPointer<HelpFrm> help = f.Help();
        QTest::mouseClick(f.Input()->Command9, Qt::LeftButton);
        QCOMPARE(f.Help(), help.data());
        help->close();
        QTRY_VERIFY(!f.Help());
    }

    void anInstalledProgramsTwoFolders() {
        // The user's files in one folder, the installed manual in another:
        // the settings file is made among the files, the help window reads
        // the manual folder.
        QTemporaryDir files, manual;
        {
            std::ofstream help(PathOf(manual) / "help.txt", std::ios::binary);
            help << Utf8ToGbk("已安装的说明\r\n");
        }
        dialogs_ = std::make_unique<ScriptedDialogs>();
        MonthFrm f(ProgramFolder(PathOf(files), PathOf(manual)), *dialogs_, [] {}, [] { return At(1985, 3, 12, 9, 5); });
        f.Timer1()->stop();
        QVERIFY(std::filesystem::exists(PathOf(files) / "shezhi.ini"));
        QVERIFY(!std::filesystem::exists(PathOf(manual) / "shezhi.ini"));
        f.ShowHelp();
        QCOMPARE(f.Help()->RichTextBox1->Text(), QStringLiteral("已安装的说明\r\n"));
        f.Help()->close();
    }

    void endProgramAtOnce() {
        MonthFrm& f = Open();
        Item(f, "cmout")->trigger();
        QCOMPARE(ended_, 1);
        QTest::mouseClick(f.Input()->Command10, Qt::LeftButton);
        QCOMPARE(ended_, 2);
        QVERIFY(dialogs_->messages.empty());
    }

    void closingTheFrameClosesEverything() {
        MonthFrm& f = Open();
        f.Timer1Tick();  // the splash is up
        Item(f, "cmhelp")->trigger();
        QPointer<HelpFrm> help = f.Help();
        QVERIFY(f.close());
        QVERIFY(f.FrameClosing());
        QVERIFY(!f.isVisible());
        QVERIFY(!f.Input()->isVisible());
        QTRY_VERIFY(!help);
        QTRY_VERIFY(!f.About());
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(ended_, 0);
    }
};

TL_GUI_TEST(frame_test, FrameTest);

}  // namespace tl::test

#include "frame_test.moc"
