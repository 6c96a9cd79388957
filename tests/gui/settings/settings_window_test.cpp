// The settings window: font, background and the defaults, each written to
// shezhi.ini and applied to the report box at once.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "gui/input/mainfrm.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"
#include "settings/settings.h"
#include "gui/settings/systemfrm.h"
#include "gui/shell/monthfrm.h"
#include "gui/toolkit/fonts.h"
#include "gui/toolkit/richtextbox.h"
#include "gui/toolkit/script_display.h"
#include "text/script.h"

namespace tl::test {

class SettingsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<MonthFrm> frame_;

    RichTextBox& Box() { return *frame_->Input()->ReportBox(); }

    QByteArray FileBytes() {
        QFile f(folder_->filePath(QStringLiteral("shezhi.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
    }

    SystemFrm& OpenFromMenu() {
        frame_->findChild<QAction*>(QStringLiteral("cmsys"))->trigger();
        return *frame_->SettingsWindow();
    }

    static QByteArray Bytes(const SettingsBytes& b) {
        return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
    }

    QColor TextColourAt(int position) {
        QTextCursor c(Box().document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        dialogs_ = std::make_unique<ScriptedDialogs>();
        frame_ = std::make_unique<MonthFrm>(PathOf(*folder_), *dialogs_, [] {}, [] { return At(2008, 2, 4, 9, 5); });
        frame_->Timer1()->stop();
        frame_->show();
        Box().SetText(QStringLiteral("八字报告\r\n第二行"));
    }
    void cleanup() {
        SetDisplayScript(Script::kHans);
        frame_.reset();
        dialogs_.reset();
        folder_.reset();
    }

    void windowShapeAndEntryPoints() {
        frame_->Input()->Command6->click();
        SystemFrm* w = frame_->SettingsWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("系统设置"));
        QVERIFY(w->isModal());
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->Command1->text(), QStringLiteral("设置文本字体..."));
        QCOMPARE(w->Command2->text(), QStringLiteral("设置文本背景色..."));
        QCOMPARE(w->Command4->text(), QStringLiteral("还原默认设置"));
        QCOMPARE(w->Command3->text(), QStringLiteral("返 回"));
        QCOMPARE(&OpenFromMenu(), w);
        QCOMPARE(frame_->findChildren<SystemFrm*>().size(), 1);
        w->Command3->click();
        QVERIFY(!w->isVisible());
    }

    // "简体 / 繁體": one line of tenglan.conf, shezhi.ini untouched; the next
    // report and every window opened afterwards in the chosen script.
    void scriptChoiceKeptInTenglanConf() {
        SetDisplayScript(Script::kHans);
        SystemFrm& w = OpenFromMenu();
        QVERIFY(w.Option1->isChecked());
        QCOMPARE(w.Option2->text(), QStringLiteral("繁體"));
        const QByteArray style = FileBytes();
        const QString conf = folder_->filePath(QStringLiteral("tenglan.conf"));
        QTest::mouseClick(w.Option2, Qt::LeftButton);
        QCOMPARE(DisplayScript(), Script::kHant);
        QFile file(conf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("script=hant\n"));
        file.close();
        QCOMPARE(FileBytes(), style);
        // The next report.
        frame_->Input()->Text1->setText(QStringLiteral("张三"));
        frame_->Input()->Command1->click();
        QVERIFY(Box().Text().startsWith(QStringLiteral("                                        騰嵐八字排盤\r\n")));
        // The open windows and those opened later speak traditional
        // characters at once, the texts converted as the reports are.
        QCOMPARE(frame_->Input()->Command12->text(), QStringLiteral("導出圖片"));
        QTRY_COMPARE(frame_->Input()->Label2->text(), QStringLiteral("巳時"));  // on the posted change event
        QCOMPARE(frame_->menuBar()->actions().at(0)->text(), QStringLiteral(" 系統"));
        QCOMPARE(w.Command4->text(), QString::fromStdString(ToScript("还原默认设置", Script::kHant)));
        QCOMPARE(w.windowTitle(), QStringLiteral("系統設置"));
        SystemFrm later(PathOf(*folder_), *dialogs_, Box());
        QVERIFY(later.Option2->isChecked());
        QCOMPARE(later.Command4->text(), w.Command4->text());
        // And back.
        QTest::mouseClick(w.Option1, Qt::LeftButton);
        QCOMPARE(DisplayScript(), Script::kHans);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("script=hans\n"));
        QCOMPARE(frame_->Input()->Command12->text(), QStringLiteral("导出图片"));
        QTRY_COMPARE(frame_->Input()->Label2->text(), QStringLiteral("巳时"));
        QCOMPARE(frame_->menuBar()->actions().at(0)->text(), QStringLiteral(" 系统"));
        QCOMPARE(w.Command4->text(), QStringLiteral("还原默认设置"));
        QCOMPARE(later.windowTitle(), QStringLiteral("系统设置"));
    }

    void fontWritesTheRecordAndRestylesTheBox() {
        SystemFrm& w = OpenFromMenu();
        const FontStyle chosen{.name = "黑体", .pointSize = 12, .bold = true, .underline = true};
        dialogs_->fonts.push_back(ScriptedDialogs::FontAndColour(chosen, 0x008000));  // green as 0x00BBGGRR
        w.Command1->click();
        // The dialog started from the stored style, the defaults here.
        QCOMPARE(dialogs_->fontStarts.size(), std::size_t{1});
        QVERIFY(dialogs_->fontStarts[0] == ScriptedDialogs::FontAndColour(DefaultSettings().font, 0));
        // The background is that of the defaults, the rest the dialog's.
        QByteArray expected("\x05\x00\x00\x80", 4);
        expected += QByteArray("\xba\xda\xcc\xe5      ", 10);  // 黑体 in GBK
        expected += "12   ";
        expected += QByteArray("\xff\xff\x00\x00\x00\x00\xff\xff", 8);  // bold, -, -, underline
        expected += "32768     ";
        QCOMPARE(FileBytes(), expected);
        QCOMPARE(Box().font().pointSizeF(), 12.0);
        QVERIFY(Box().font().bold());
        QVERIFY(Box().font().underline());
        const QColor green(0, 0x80, 0);
        QCOMPARE(TextColourAt(0), green);
        QCOMPARE(TextColourAt(7), green);
        // Cancel changes nothing; text set later takes the chosen colour.
        Box().SetText(QStringLiteral("新的"));
        w.Command1->click();
        QCOMPARE(FileBytes(), expected);
        QCOMPARE(TextColourAt(0), green);
        // So does the next report, whose passages stay red.
        w.Command3->click();
        frame_->Input()->Text1->setText(QStringLiteral("张三"));
        frame_->Input()->Command1->click();
        const std::vector<QColor> colors = CharacterColors(*Box().document());
        const QString text = Box().Text();
        QCOMPARE(colors.size(), static_cast<std::size_t>(text.size()));
        std::size_t red = 0, chosenColour = 0;
        for (const QColor& c : colors) {
            if (!c.isValid()) continue;  // a line end
            red += c == QColor(255, 0, 0);
            chosenColour += c == green;
        }
        QVERIFY(red > 200);
        QCOMPARE(red + chosenColour, static_cast<std::size_t>(text.size() - 2 * text.count(QStringLiteral("\r\n"))));
        QCOMPARE(colors[static_cast<std::size_t>(text.indexOf(QStringLiteral("大运干支")))], QColor(255, 0, 0));
        QCOMPARE(colors[static_cast<std::size_t>(text.indexOf(QStringLiteral("张三")))], green);
    }

    void escapeInTheFontDialogChangesNothing() {
        // The platform's own dialog: Escape while the font list has the
        // keyboard closes the whole choice.
        const QByteArray file = FileBytes();
        const QFont font = Box().font();
        QtDialogs platform;
        SystemFrm w(PathOf(*folder_), platform, Box(), frame_.get());
        w.show();
        bool leftOpen = false;
        QTimer::singleShot(200, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QFontDialog* fonts = dialog ? dialog->findChild<QFontDialog*>() : nullptr;
            if (!fonts) return;
            QWidget* focus = fonts->focusWidget() ? fonts->focusWidget() : fonts;
            QTest::keyClick(focus, Qt::Key_Escape);
            QTimer::singleShot(300, this, [&] {
                if (auto* still = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    leftOpen = true;
                    still->reject();
                }
            });
        });
        QTimer::singleShot(5000, this, [] {
            if (auto* still = qobject_cast<QDialog*>(QApplication::activeModalWidget())) still->reject();
        });
        QElapsedTimer shown;
        shown.start();
        w.ChooseFont();
        QVERIFY(!leftOpen);
        QVERIFY(shown.elapsed() < 4000);
        QCOMPARE(FileBytes(), file);
        QCOMPARE(Box().font(), font);
        QCOMPARE(Box().Text(), QStringLiteral("八字报告\r\n第二行"));
        QCOMPARE(TextColourAt(0), QColor(0, 0, 0));
    }

    void backgroundWritesOnlyItsColour() {
        SettingsBytes start = EncodeSettings(DefaultSettings());
        start[14] = '9';
        QVERIFY(WriteSettingsRecord(PathOf(*folder_), start));
        SystemFrm& w = OpenFromMenu();
        dialogs_->colors.push_back(0x00C0FFFFu);
        dialogs_->colors.push_back(std::nullopt);
        w.Command2->click();
        SettingsBytes expected = start;
        expected[0] = 0xFF;
        expected[1] = 0xFF;
        expected[2] = 0xC0;
        expected[3] = 0x00;
        QCOMPARE(FileBytes(), Bytes(expected));
        QCOMPARE(Box().palette().color(QPalette::Base), QColor(255, 255, 192));
        // The dialog starts from the colour the box shows: the window colour,
        // then the one chosen.
        w.Command2->click();
        const quint32 window = BgrFromColor(QApplication::palette().color(QPalette::Base));
        QCOMPARE(dialogs_->colorStarts, (std::vector<quint32>{window, 0x00C0FFFFu}));
        QCOMPARE(FileBytes(), Bytes(expected));
        QCOMPARE(Box().palette().color(QPalette::Base), QColor(255, 255, 192));
        // A window opened anew starts from it too, never from black.
        w.Command3->click();
        QTest::qWait(0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SystemFrm& again = OpenFromMenu();
        QVERIFY(frame_->findChildren<SystemFrm*>().size() == 1);
        again.Command2->click();
        QCOMPARE(dialogs_->colorStarts.back(), 0x00C0FFFFu);
    }

    void colourDialogsStartAtTheCurrentColour() {
        // A dark background kept from an earlier start: Enter in the colour
        // dialog keeps it, never turns it black.
        Settings dark;
        dark.backgroundColour = 0x00402010;
        dark.textColour = 0x00C0FFFF;  // none of the font dialog's sixteen
        QVERIFY(WriteSettingsRecord(PathOf(*folder_), EncodeSettings(dark)));
        frame_.reset();
        frame_ = std::make_unique<MonthFrm>(PathOf(*folder_), *dialogs_, [] {}, [] { return At(2008, 2, 4, 9, 5); });
        frame_->Timer1()->stop();
        SystemFrm& w = OpenFromMenu();
        dialogs_->colors.push_back(std::nullopt);
        w.Command2->click();
        QCOMPARE(dialogs_->colorStarts, std::vector<quint32>{0x00402010u});
        // The text colour likewise, also after the box took another one.
        w.Command1->click();
        QCOMPARE(dialogs_->fontStarts.back().second, 0x00C0FFFFu);
        Box().SetTextColor(0x00008000);
        w.Command1->click();
        QCOMPARE(dialogs_->fontStarts.back().second, 0x00008000u);
        // The platform's font dialog keeps a colour outside its list as the
        // choice (OK at once changes nothing) and its "颜色(&C)" is a
        // shortcut.
        QtDialogs platform;
        FontStyle font;
        quint32 colour = 0x00C0FFFF;
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            const auto labels = dialog->findChildren<QLabel*>();
            const auto colourLabel = std::find_if(labels.begin(), labels.end(), [](QLabel* l) {
                return l->text() == QStringLiteral("颜色(&C):");
            });
            QVERIFY(colourLabel != labels.end());
            QVERIFY((*colourLabel)->buddy());
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(platform.ChooseFont(&w, font, colour));
        QCOMPARE(colour, 0x00C0FFFFu);
    }

    void aFullFontNameSurvivesARestart() {
        // shezhi.ini keeps "DejaVu San"; the whole name comes back at start.
        if (!QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono"))) QSKIP("DejaVu Sans Mono is not installed");
        SystemFrm& w = OpenFromMenu();
        dialogs_->fonts.push_back(ScriptedDialogs::FontAndColour({.name = "DejaVu Sans Mono", .pointSize = 11}, 0));
        w.Command1->click();
        QCOMPARE(FileBytes().mid(4, 10), QByteArray("DejaVu San"));
        frame_.reset();
        frame_ = std::make_unique<MonthFrm>(PathOf(*folder_), *dialogs_, [] {}, [] { return At(2008, 2, 4, 9, 5); });
        frame_->Timer1()->stop();
        QCOMPARE(QFontInfo(Box().font()).family(), QStringLiteral("DejaVu Sans Mono"));
        // The font dialog starts from the whole name too.
        OpenFromMenu().Command1->click();
        QCOMPARE(dialogs_->fontStarts.back().first.name, std::string("DejaVu Sans Mono"));
        // Without the kept name, the fixed-pitch family of those beginning
        // with the stored name is taken.
        QVERIFY(QFile::remove(folder_->filePath(QStringLiteral("tenglan.conf"))));
        QCOMPARE(InstalledFamily(QStringLiteral("DejaVu San")), QStringLiteral("DejaVu Sans Mono"));
    }

    void restoreDefaultsWritesThe37DefaultBytes() {
        const Settings odd{0x00FF0000u, {"黑体", 20, true, true, true, true}, 255};
        QVERIFY(WriteSettingsRecord(PathOf(*folder_), EncodeSettings(odd)));
        Box().SetBackColor(0x00FF0000u);
        SystemFrm& w = OpenFromMenu();
        w.Command4->click();
        QByteArray expected("\x05\x00\x00\x80", 4);
        expected += QByteArray("\xcb\xce\xcc\xe5      ", 10);  // 宋体 in GBK
        expected += "10.5 ";
        expected += QByteArray(8, '\0');
        expected += "0         ";
        QCOMPARE(expected.size(), 37);
        QCOMPARE(FileBytes(), expected);
        QCOMPARE(Box().palette().color(QPalette::Base), QApplication::palette(&Box()).color(QPalette::Base));
        QCOMPARE(Box().font().pointSizeF(), 10.5);
        QVERIFY(!Box().font().bold());
        QVERIFY(!Box().font().italic());
        QCOMPARE(TextColourAt(0), QColor(0, 0, 0));
    }
};

TL_GUI_TEST(settings_window_test, SettingsWindowTest);

}  // namespace tl::test

#include "settings_window_test.moc"
