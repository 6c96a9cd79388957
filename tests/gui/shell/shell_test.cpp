// Help, about and the report box fonts.
#include <QFile>
#include <QPushButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <filesystem>
#include <fstream>

#include "text/gbk.h"
#include "settings/settings.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "gui/toolkit/clicklabel.h"
#include "gui/toolkit/fonts.h"
#include "gui/shell/helpfrm.h"
#include "gui/shell/logofrm.h"
#include "gui/toolkit/richtextbox.h"

namespace tl::test {

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void helpWithoutTheManual() {
        QTemporaryDir dir;
        HelpFrm help(PathOf(dir));
        QCOMPARE(help.windowTitle(), QStringLiteral("腾岚八字排盘系统[帮助]"));
        QCOMPARE(help.RichTextBox1->Text(), QStringLiteral("帮助文件丢失!"));
        QCOMPARE(help.RichTextBox1->font().family(), QStringLiteral("宋体"));
        QCOMPARE(help.RichTextBox1->font().pointSizeF(), 12.0);
    }

    void escapeAndItsOwnButtonCloseHelp() {
        // Also where no window manager draws a title bar with a close box.
        QTemporaryDir dir;
        for (bool byEscape : {true, false}) {
            HelpFrm help(PathOf(dir));
            help.show();
            QVERIFY(QTest::qWaitForWindowExposed(&help));
            help.RichTextBox1->setFocus();
            QCOMPARE(help.Command1->text(), QStringLiteral("关闭(&C)"));
            if (byEscape) QTest::keyClick(help.RichTextBox1, Qt::Key_Escape);
            else QTest::mouseClick(help.Command1, Qt::LeftButton);
            QVERIFY(!help.isVisible());
        }
    }

    void helpShowsTheManualAsPlainGbkText() {
        QTemporaryDir dir;
        const QString text = QStringLiteral("腾岚 <b>说明</b>\r\n第二行 &amp;\r\n");
        // Also from a folder whose name is GBK bytes (八字), not UTF-8.
        for (const std::filesystem::path& folder : {PathOf(dir), PathOf(dir) / "\xB0\xCB\xD7\xD6"}) {
            std::filesystem::create_directories(folder);
            {
                std::ofstream f(folder / "help.txt", std::ios::binary);
                f << Utf8ToGbk(text.toStdString());
            }
            HelpFrm help(folder);
            QCOMPARE(help.RichTextBox1->Text(), text);  // tags shown as text
        }
    }

    void helpThatCannotBeRead() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("help.txt")));  // a folder, not a file
        HelpFrm help(PathOf(dir));
        QCOMPARE(help.RichTextBox1->Text(), QStringLiteral("帮助文件丢失!"));
        // A named pipe, which is not waited on.
        QTemporaryDir piped;
        QCOMPARE(::mkfifo(QFile::encodeName(piped.filePath(QStringLiteral("help.txt"))).constData(), 0600), 0);
        HelpFrm pipeHelp(PathOf(piped));
        QCOMPARE(pipeHelp.RichTextBox1->Text(), QStringLiteral("帮助文件丢失!"));
    }

    void theInstalledManual() {
        // The manual the build puts beside the program: GBK, CR LF, and about
        // this program.
        QFile f(QStringLiteral(TENGLAN_HELP_TXT));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.size() > 2000);
        QVERIFY(!bytes.contains("\xEF\xBB\xBF"));
        const QList<QByteArray> lines = bytes.split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) QVERIFY2(lines[i].endsWith('\r'), lines[i].constData());
        const QString text =
            QString::fromStdString(GbkToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
        QVERIFY(!text.contains(QChar(0xFFFD)));
        for (const char* topic : {"开始排盘", "保存结果", "另存为", "打印结果", "读取存档", "万年历", "系统设置",
                                  "真太阳时", "是闰月", "信息窗口", "退出系统"})
            QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    }

    void aboutWindow() {
        LogoFrm about;
        QCOMPARE(about.size(), QSize(480, 340));
        QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(about.Image1->geometry(), about.rect());
        QVERIFY(!about.Image1->pixmap().isNull());
        // The credit line: bold red 宋体, over the lower right of the picture.
        QVERIFY(about.Label1->font().bold());
        QCOMPARE(about.Label1->font().family(), QStringLiteral("宋体"));
        // Its version is the package's.
        QVERIFY(about.Label1->text().endsWith(QStringLiteral(" 版本 " TENGLAN_VERSION)));
        QVERIFY(about.rect().contains(about.Label1->geometry()));
        QVERIFY(about.Label1->geometry().center().x() > about.width() / 2);
        QVERIFY(about.Label1->geometry().center().y() > about.height() / 2);
        // The picture is drawn for this program, not blank.
        const QImage picture = about.Image1->pixmap().toImage();
        QSet<QRgb> colors;
        for (int y = 0; y < picture.height(); y += 7)
            for (int x = 0; x < picture.width(); x += 7) colors.insert(picture.pixel(x, y));
        QVERIFY(colors.size() > 50);
    }

    void reportFontsKeepTwoColumns_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("size");
        for (const char* name : {"宋体", "楷体_GB2312", "隶书", "Times New Roman", "没有这种字体", "WenQuanYi", "AR PL UMin"})
            for (double size : {9.0, 10.5, 12.0, 14.0, 22.0})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QString::fromUtf8(name)).arg(size)))
                    << QString::fromUtf8(name) << size;
    }
    void reportFontsKeepTwoColumns() {
        QFETCH(QString, name);
        QFETCH(double, size);
        const QFont font = ReportFont(name, size);
        QVERIFY(ReportFaces().contains(QFontInfo(font).family()));
        // One Chinese character is exactly two Latin columns, and ASCII
        // characters are all one column.
        const QFontMetricsF m(font);
        const qreal column = m.horizontalAdvance(QLatin1Char(' '));
        for (const QString& s : {QStringLiteral("甲"), QStringLiteral("※"), QStringLiteral("▲"),
                                 QStringLiteral("十"), QStringLiteral("己"), QStringLiteral("：")})
            QCOMPARE(m.horizontalAdvance(s), 2 * column);
        for (const QString& s : {QStringLiteral("0"), QStringLiteral("W"), QStringLiteral("i"), QStringLiteral(":")})
            QCOMPARE(m.horizontalAdvance(s), column);
        QCOMPARE(m.horizontalAdvance(QStringLiteral("甲子 12:00")), 10 * column);
    }

    void aNameCutShortIsCompletedToAnInstalledFamily() {
        // A face in which a Chinese character is two columns comes first,
        // then a report face.
        QCOMPARE(InstalledFamily(QStringLiteral("WenQuanYi ")), QStringLiteral("WenQuanYi Zen Hei Mono"));
        QCOMPARE(InstalledFamily(QStringLiteral("wenquanyi zen")), QStringLiteral("WenQuanYi Zen Hei Mono"));
        QCOMPARE(InstalledFamily(QStringLiteral("AR PL UMin")), QStringLiteral("AR PL UMing CN"));
        // Installed names and names that begin none stay as they are.
        QCOMPARE(InstalledFamily(QStringLiteral("AR PL UMing HK")), QStringLiteral("AR PL UMing HK"));
        QCOMPARE(InstalledFamily(QStringLiteral("WenQuanYi Zen Hei")), QStringLiteral("WenQuanYi Zen Hei"));
        QCOMPARE(InstalledFamily(QStringLiteral("宋体")), QStringLiteral("宋体"));
        QCOMPARE(InstalledFamily(QStringLiteral("没有这种字体")), QStringLiteral("没有这种字体"));
    }

    void aFontTheSystemHasIsKept() {
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.contains(QStringLiteral("AR PL UMing CN")));
        const QFont font = ReportFont(QStringLiteral("AR PL UMing CN"), 10.5);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
    }

    void boxRangesCountCrLfAsTwo() {
        RichTextBox box;
        box.SetText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
        QCOMPARE(box.Text(), QStringLiteral("ab\r\ncd\r\n\r\nef"));
        box.SelectRange(4, 2);  // "cd"
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("cd"));
        box.SelectRange(1, 4);  // "b", CR LF, "c"
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("b") + QChar(0x2029) + QStringLiteral("c"));
        box.SelectRange(10, 50);  // past the end stops at the end
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("ef"));
        // Lone LF and lone CR end a line too; the box gives CR LF back.
        box.SetText(QStringLiteral("a\nb\rc"));
        QCOMPARE(box.Text(), QStringLiteral("a\r\nb\r\nc"));
        // A character beyond the basic plane is one character.
        box.SetText(QStringLiteral("😀甲乙"));
        box.SelectRange(1, 1);
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("甲"));
    }

    void boxBackgroundAndFont() {
        RichTextBox box;
        box.SetBackColor(0x00FF8000);  // 0x00BBGGRR: blue 255, green 128
        QCOMPARE(box.palette().color(QPalette::Base), QColor(0, 128, 255));
        box.SetBackColor(kSystemWindowColour);
        QCOMPARE(box.palette().color(QPalette::Base), QApplication::palette(&box).color(QPalette::Base));
        const FontStyle style{.name = "隶书", .pointSize = 14, .bold = true, .italic = true};
        box.SetBoxFont(style);
        QCOMPARE(box.font().family(), QStringLiteral("隶书"));
        QCOMPARE(box.font().pointSizeF(), 14.0);
        QVERIFY(box.font().bold() && box.font().italic() && !box.font().underline() && !box.font().strikeOut());
        QVERIFY(StyleOf(box.font()) == style);
        box.SetBoxFont({"隶书", 14, false, true, false, true});
        QVERIFY(!box.font().bold() && box.font().strikeOut() && !box.font().italic() && box.font().underline());
        QCOMPARE(box.document()->defaultFont(), box.font());
    }

    void boxLoadFailureKeepsTheText() {
        RichTextBox box;
        box.SetText(QStringLiteral("keep"));
        QVERIFY(!box.LoadFile(QStringLiteral("/no/such/file.txt")));
        QCOMPARE(box.Text(), QStringLiteral("keep"));
        // Bytes that are not GBK become replacement characters, nothing crashes.
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("bad.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ok\xFF\xFF\x81");
        f.close();
        QVERIFY(box.LoadFile(f.fileName()));
        QVERIFY(box.Text().startsWith(QStringLiteral("ok")));
        QVERIFY(box.Text().contains(QChar(0xFFFD)));
    }
};

TL_GUI_TEST(shell_test, ShellTest);

}  // namespace tl::test

#include "shell_test.moc"
