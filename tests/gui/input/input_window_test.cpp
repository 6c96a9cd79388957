// The input window on its own: start-up, the controls' behaviour, the run,
// Save result as, Print and the refused close.
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "archive/fields.h"
#include "text/gbk.h"
#include "archive/store.h"
#include "gui/input/mainfrm.h"
#include "report/report.h"
#include "chart/run.h"
#include "text/utf8.h"
#include "support/gui/gui_support.h"
#include "support/temp_folder.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"
#include "place/gazetteer.h"
#include "settings/settings.h"
#include "gui/toolkit/clicklabel.h"
#include "gui/toolkit/richtextbox.h"
#include "gui/toolkit/script_display.h"
#include "text/script.h"

namespace tl::test {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

const QString kNoRecord = QStringLiteral("这份报告没有排盘记录,不能存入存档;请先排盘,或用另存为保存.");

QByteArray Gbk(const QString& text) { return QByteArray::fromStdString(Utf8ToGbk(text.toStdString())); }

// The permission bits of a file.
int ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// The output of a poppler tool on a PDF file; empty when it cannot run.
QString Poppler(const char* tool, const QStringList& arguments) {
    QProcess p;
    p.start(QString::fromLatin1(tool), arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The lines of a text that hold more than blanks, the blanks taken out.
QStringList InkLines(const QString& text) {
    QStringList lines;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
        line.remove(QRegularExpression(QStringLiteral("[\\s\\f\\x{3000}]")));
        if (!line.isEmpty()) lines << line;
    }
    return lines;
}

// The runs of consecutive lines of a report (blank lines included) that
// hold a character of a red passage, as [first, last] line numbers.
std::vector<std::pair<int, int>> RedLineRuns(const Report& r) {
    const QString text = Q(r.text);
    std::vector<bool> red(static_cast<std::size_t>(text.size()), false);
    for (const TextRange& range : r.red)
        for (int i = range.start; i < range.start + range.length && i < text.size(); ++i)
            red[static_cast<std::size_t>(i)] = true;
    std::vector<std::pair<int, int>> runs;
    int line = 0;
    bool lineRed = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == QLatin1Char('\n')) {
            if (lineRed && !runs.empty() && runs.back().second == line - 1) runs.back().second = line;
            else if (lineRed) runs.push_back({line, line});
            lineRed = false;
            ++line;
        } else if (!text[i].isSpace() && red[static_cast<std::size_t>(i)]) {
            lineRed = true;
        }
    }
    return runs;
}

// The bands of rows of a picture holding red pixels, bands less than
// `gap` rows apart taken as one; and the first row holding any ink.
std::vector<std::pair<int, int>> RedBands(const QImage& picture, int gap) {
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < picture.height(); ++y) {
        bool red = false;
        for (int x = 0; x < picture.width() && !red; ++x) {
            const QRgb p = picture.pixel(x, y);
            // Red, or red smoothed into the background at a glyph's edge.
            red = qRed(p) > 160 && qGreen(p) < 120 && qBlue(p) < 120 && qRed(p) - qGreen(p) > 100;
        }
        if (!red) continue;
        if (!bands.empty() && y - bands.back().second <= gap) bands.back().second = y;
        else bands.push_back({y, y});
    }
    return bands;
}
int FirstInkRow(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != picture.pixel(0, 0)) return y;
    return -1;
}

}  // namespace

class InputWindowTest : public QObject {
    Q_OBJECT

    // A fresh program folder for every window, with its folder save.
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<MainFrm> frm_;

    std::filesystem::path Folder() const { return PathOf(*folder_); }

    void NewFolder() {
        frm_.reset();
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("save")));
    }

    MainFrm& Open(QDateTime now, bool newFolder = true) {
        frm_.reset();
        if (newFolder) NewFolder();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        frm_ = std::make_unique<MainFrm>(Folder(), *dialogs_, [now] { return now; });
        frm_->resize(1200, 800);
        frm_->show();
        frm_->activateWindow();
        if (!QTest::qWaitForWindowActive(frm_.get())) qWarning("input window not active");
        return *frm_;
    }

    // The report the core builds from what the window shows.
    Report CoreReport(MainFrm& f) {
        InputSelections in;
        in.nameText = f.Text1->text().toStdString();
        in.isMale = f.IsMale();
        in.isSolarInput = f.IsSolarInput();
        in.positions = {f.Combo1->currentIndex(), f.Combo2->currentIndex(), f.Combo3->currentIndex(),
                        f.Combo4->currentIndex(), f.Combo9->currentIndex()};
        in.leapTicked = f.Check1->isChecked();
        in.trueSolarTicked = f.Check2->isChecked();
        in.provincePosition = f.Combo5->currentIndex();
        in.placePosition = f.Combo6->currentIndex();
        in.ziDayChange = f.Combo10->currentIndex() == 1 ? ZiDayChange::kAtMidnight : ZiDayChange::kAt23;
        in.daylightSavingTicked = f.Check3->isChecked();
        const ChartRequest request = *ReadRequest(in);
        return BuildReport(RunCalendar(request), ReportHeaderOf(request, in.nameText));
    }

    // A click on the round indicator of an option button.
    static void ClickOption(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }

    void Run(MainFrm& f, const QString& name) {
        f.Text1->setText(name);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
    }

    // Exactly the passages of the report are pure red; everything else
    // has the text colour.
    static void VerifyRedPassages(MainFrm& f, const Report& r, QColor text = Qt::black) {
        const std::vector<QColor> colors = CharacterColors(*f.ReportBox()->document());
        QCOMPARE(colors.size(), static_cast<std::size_t>(Q(r.text).size()));
        std::vector<bool> red(colors.size(), false);
        for (const TextRange& range : r.red)
            for (int i = range.start; i < range.start + range.length; ++i) red[static_cast<std::size_t>(i)] = true;
        int redCount = 0;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            if (!colors[i].isValid()) continue;  // a line end
            if (red[i]) {
                ++redCount;
                QVERIFY2(colors[i] == QColor(255, 0, 0), qPrintable(QStringLiteral("not red at %1").arg(i)));
            } else {
                QVERIFY2(colors[i] == text, qPrintable(QStringLiteral("not the text colour at %1").arg(i)));
            }
        }
        QVERIFY(redCount > 96 + 66 + 68);
    }

private slots:
    void cleanup() {
        SetDisplayScript(Script::kHans);
        frm_.reset();
        dialogs_.reset();
        folder_.reset();
    }

    void startupDefaults() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        QCOMPARE(f.windowTitle(), QStringLiteral("腾岚八字排盘系统专业版"));
        QVERIFY(f.Option1->isChecked());
        QVERIFY(!f.Option2->isChecked());
        QVERIFY(f.Option3->isChecked());
        QVERIFY(!f.Option4->isChecked());
        QVERIFY(f.IsMale());
        QVERIFY(f.IsSolarInput());
        QVERIFY(!f.Check1->isChecked());
        QVERIFY(!f.Check2->isChecked());
        QCOMPARE(f.Text1->text(), QString());
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        QVERIFY(!f.ReportBox()->textCursor().hasSelection());
        QTRY_VERIFY(f.Text1->hasFocus());

        QCOMPARE(f.Combo1->count(), 201);
        QCOMPARE(f.Combo1->itemText(0), QStringLiteral("1900"));
        QCOMPARE(f.Combo1->itemText(200), QStringLiteral("2100"));
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("1985"));
        QCOMPARE(f.Combo2->count(), 12);
        QCOMPARE(f.Combo2->currentText(), QStringLiteral("3"));
        QCOMPARE(f.Combo3->count(), 31);
        QCOMPARE(f.Combo3->currentText(), QStringLiteral("12"));
        QCOMPARE(f.Combo4->count(), 24);
        QCOMPARE(f.Combo4->currentText(), QStringLiteral("9"));
        QCOMPARE(f.Label2->text(), QStringLiteral("巳时"));
        QCOMPARE(f.Combo9->count(), 60);
        QCOMPARE(f.Combo9->itemText(0), QStringLiteral("0"));
        QCOMPARE(f.Combo9->itemText(59), QStringLiteral("59"));
        QCOMPARE(f.Combo9->currentText(), QStringLiteral("5"));

        QCOMPARE(f.Combo5->count(), kProvinceCount);
        QCOMPARE(f.Combo5->currentIndex(), 0);
        QCOMPARE(f.Combo5->currentText(), QStringLiteral("不考虑"));
        QCOMPARE(f.Combo6->count(), PlaceCount(0));
        QCOMPARE(f.Combo6->currentText(), QStringLiteral("不考虑"));

        QCOMPARE(f.Text3->toPlainText(), QStringLiteral("  预测:\n"));
        QVERIFY(!f.InfoPanelShown());
        // The box font: 宋体 10.5 pt, drawn with a face in which a Chinese
        // character takes exactly two columns.
        QCOMPARE(f.ReportBox()->font().family(), QStringLiteral("宋体"));
        QCOMPARE(f.ReportBox()->font().pointSizeF(), 10.5);
        const QFontMetricsF m(f.ReportBox()->font());
        QCOMPARE(m.horizontalAdvance(QStringLiteral("甲")), 2 * m.horizontalAdvance(QLatin1Char(' ')));
    }

    void startupInMinuteZeroChartsToday() {
        MainFrm& f = Open(At(2026, 12, 9, 7, 0));
        // This year is selected; minute 0 is an item of its own.
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("2026"));
        QCOMPARE(f.Combo2->currentText(), QStringLiteral("12"));
        QCOMPARE(f.Combo3->currentText(), QStringLiteral("9"));
        QCOMPARE(f.Combo4->currentText(), QStringLiteral("7"));
        QCOMPARE(f.Combo9->currentIndex(), 0);
        QCOMPARE(f.Combo9->currentText(), QStringLiteral("0"));
        // A run right after start charts today, at minute 0.
        Run(f, QStringLiteral("甲"));
        QCOMPARE(f.ReportBox()->Text(), Q(CoreReport(f).text));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("公历:2026年12月9日7:00:00时")));
        QCOMPARE(f.CurrentRecord().birthDate, OleDate({2026, 12, 9}));
        QCOMPARE(f.CurrentRecord().birthTime, TimeOfDay::Hms(7, 0).fraction());
    }

    void startupAfter2100SelectsNoYear() {
        MainFrm& f = Open(At(2101, 1, 1, 7, 5));
        QCOMPARE(f.Combo1->currentIndex(), -1);
        QCOMPARE(f.Combo1->currentText(), QString());
        QCOMPARE(f.Combo2->currentText(), QStringLiteral("1"));
        // With no year the run does nothing but point at the year list.
        f.Text1->setFocus();
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        QCOMPARE(f.CurrentRecord(), ChartRecord{});
        QTRY_VERIFY(f.Combo1->hasFocus());
        // Once a year is chosen the run goes ahead.
        f.Combo1->setCurrentIndex(84);
        Run(f, QStringLiteral("甲"));
        QCOMPARE(f.ReportBox()->Text(), Q(CoreReport(f).text));
        QCOMPARE(f.CurrentRecord().birthTime, TimeOfDay::Hms(7, 5).fraction());
        // A birth on the hour picked at any other time of the clock, and the
        // last minute: the minute is the list position.
        MainFrm& g = Open(At(1985, 3, 12, 10, 37));
        g.Combo9->setCurrentIndex(0);
        Run(g, QStringLiteral("甲"));
        QCOMPARE(g.CurrentRecord().birthTime, TimeOfDay::Hms(10, 0).fraction());
        g.Combo9->setCurrentIndex(59);
        Run(g, QStringLiteral("甲"));
        QCOMPARE(g.CurrentRecord().birthTime, TimeOfDay::Hms(10, 59).fraction());
    }

    void hourLabel_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << QStringLiteral("子时");
        QTest::newRow("1") << 1 << QStringLiteral("丑时");
        QTest::newRow("2") << 2 << QStringLiteral("丑时");
        QTest::newRow("21") << 21 << QStringLiteral("亥时");
        QTest::newRow("22") << 22 << QStringLiteral("亥时");
        QTest::newRow("23") << 23 << QStringLiteral("子时");
    }
    void hourLabel() {
        QFETCH(int, hour);
        QFETCH(QString, label);
        MainFrm& f = Open(At(1985, 3, 12, 12, 30));
        QCOMPARE(f.Label2->text(), QStringLiteral("午时"));
        f.Combo4->setCurrentIndex(hour);
        QCOMPARE(f.Label2->text(), label);
        QCOMPARE(f.Label2->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void labelToggles() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        // "是闰月" and "真太阳时" toggle their boxes; twice leaves them as they were.
        QTest::mouseClick(f.Label10, Qt::LeftButton);
        QVERIFY(f.Check1->isChecked());
        QTest::mouseClick(f.Label10, Qt::LeftButton);
        QVERIFY(!f.Check1->isChecked());
        QTest::mouseClick(f.Label13, Qt::LeftButton);
        QVERIFY(f.Check2->isChecked());
        QTest::mouseClick(f.Check2, Qt::LeftButton);  // the box itself toggles too
        QVERIFY(!f.Check2->isChecked());
        // A partly ticked box becomes ticked.
        f.Check1->setTristate(true);
        f.Check1->setCheckState(Qt::PartiallyChecked);
        QTest::mouseClick(f.Label10, Qt::LeftButton);
        QCOMPARE(f.Check1->checkState(), Qt::Checked);
        // "农历" and "公历" select their options and set the input calendar.
        QTest::mouseClick(f.Label12, Qt::LeftButton);
        QVERIFY(f.Option4->isChecked());
        QVERIFY(!f.IsSolarInput());
        QTest::mouseClick(f.Label11, Qt::LeftButton);
        QVERIFY(f.Option3->isChecked());
        QVERIFY(f.IsSolarInput());
        // The sex follows the clicked option.
        ClickOption(f.Option2);
        QVERIFY(!f.IsMale());
        ClickOption(f.Option1);
        QVERIFY(f.IsMale());
    }

    void provinceFillsPlaces() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        for (int province : {1, 30, 34, 0}) {
            f.Combo5->setCurrentIndex(province);
            const auto places = FillPlaceList(province);
            QCOMPARE(f.Combo6->count(), static_cast<int>(places.size()));
            QCOMPARE(f.Combo6->currentIndex(), 0);
            QCOMPARE(f.Combo6->itemText(f.Combo6->count() - 1), QString::fromUtf8(places.back().data(),
                                                                                    places.back().size()));
        }
    }

    void birthplaceAbroad() {
        MainFrm& f = Open(At(1990, 7, 1, 8, 0));
        // 中国 first and chosen: the provinces as always.
        QCOMPARE(f.Combo11->itemText(0), QStringLiteral("中国"));
        QCOMPARE(f.Combo11->currentIndex(), 0);
        QCOMPARE(f.Combo11->itemText(f.Combo11->count() - 1), QStringLiteral("自定义经纬度"));
        QCOMPARE(f.Combo5->count(), kProvinceCount);
        // Another country: its regions ("全部" first) and cities; a typed
        // beginning of a name finds the largest city it begins.
        f.Combo11->setCurrentIndex(f.Combo11->findText(QStringLiteral("美国")));
        QCOMPARE(f.Combo5->itemText(0), QStringLiteral("全部"));
        QVERIFY(f.Combo5->findText(QStringLiteral("California")) > 0);
        QCOMPARE(f.Combo6->itemText(0), QStringLiteral("纽约 New York City"));
        f.Combo5->setCurrentIndex(f.Combo5->findText(QStringLiteral("California")));
        QVERIFY(f.Combo6->count() > 10);
        f.Combo6->setEditText(QString());
        QVERIFY(!f.Command1->isEnabled());
        QTest::keyClicks(f.Combo6->lineEdit(), QStringLiteral("los a"));
        QVERIFY(f.Command1->isEnabled());
        QVERIFY(f.Check3->isChecked());  // California kept daylight saving time in July 1990
        Run(f, QStringLiteral("张三"));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("  出生地点: 美国,洛杉矶\r\n")));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("America/Los_Angeles UTC-7:00(夏令时),北京时间1990年7月1日23:00:00")));
        QCOMPARE(f.CurrentRecord().place, FitChars("美国,洛杉矶", 14));
        // A longitude and a zone: the run waits until both are valid.
        f.Combo11->setCurrentIndex(f.Combo11->count() - 1);
        QVERIFY(f.Text4->isVisible() && f.Combo12->isVisible() && !f.Combo5->isVisible());
        QVERIFY(!f.Command1->isEnabled());
        QVERIFY(!f.Check3->isChecked());  // no zone yet, no daylight saving time
        f.Text4->setText(QStringLiteral("-74"));
        f.Combo12->setEditText(QStringLiteral("Mars/Olympus"));
        QVERIFY(!f.Command1->isEnabled());
        f.Combo12->setEditText(QStringLiteral("America/New_York"));
        QVERIFY(f.Command1->isEnabled());
        Run(f, QStringLiteral("张三"));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("  出生地点: 自定义经纬度,西经74.00°\r\n")));
        // Back to 中国: the window as it always was.
        f.Combo11->setCurrentIndex(0);
        QVERIFY(f.Combo5->isVisible() && !f.Text4->isVisible() && !f.Combo6->isEditable());
        QCOMPARE(f.Combo5->count(), kProvinceCount);
        QCOMPARE(f.Combo6->currentText(), QStringLiteral("不考虑"));
        QVERIFY(f.Command1->isEnabled());
    }

    void nameQuestionCancel() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        dialogs_->answers = {MessageResult::Cancel};
        Run(f, QStringLiteral("   "));  // blanks only count as no name
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        const auto& m = dialogs_->messages[0];
        QCOMPARE(m.text, QStringLiteral("没有输入姓名,继续吗?"));
        QCOMPARE(m.title, QStringLiteral("提示"));
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.buttons, MessageButtons::OkCancel);
        // Nothing ran: the box and the record are as they were.
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        QCOMPARE(f.CurrentRecord(), ChartRecord{});
        QTRY_VERIFY(f.Text1->hasFocus());
    }

    void nameQuestionOk() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        dialogs_->answers = {MessageResult::Ok};
        Run(f, QString());
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        const Report r = CoreReport(f);
        QCOMPARE(f.ReportBox()->Text(), Q(r.text));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("\r\n  姓名:\r\n")));
        QCOMPARE(f.CurrentRecord().name, FitChars("没有名字", 12));
    }

    void runShowsTheCoreReportWithRedPassages() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        QVERIFY(dialogs_->messages.empty());
        const Report r = CoreReport(f);
        QCOMPARE(f.ReportBox()->Text(), Q(r.text));
        QCOMPARE(r.red.size(), std::size_t{4});

        VerifyRedPassages(f, r);
        const std::vector<QColor> colors = CharacterColors(*f.ReportBox()->document());
        const QString text = Q(r.text);
        // The 乾造 line is red from the space before it.
        const int qian = static_cast<int>(text.indexOf(QStringLiteral("造")));
        QCOMPARE(colors[static_cast<std::size_t>(qian - 2)], QColor(255, 0, 0));
        QCOMPARE(colors[static_cast<std::size_t>(qian - 3)], QColor(Qt::black));
        // The box has the focus with nothing selected, the caret at the top.
        QVERIFY(!f.ReportBox()->textCursor().hasSelection());
        QCOMPARE(f.ReportBox()->textCursor().position(), 0);
        QTRY_VERIFY(f.ReportBox()->hasFocus());

        // The record of the run.
        const std::optional<ChartRequest> request = ReadRequest(
            {"张三", true, true, {85, 2, 11, 9, 5}, false, false, 0, 0});
        QCOMPARE(f.CurrentRecord(), ArchiveFields(RunCalendar(*request), "张三", "不考虑", "不考虑"));
    }

    void ziDayChangeListIsKeptAcrossStarts() {
        MainFrm& f = Open(At(1988, 2, 15, 23, 30));
        QCOMPARE(f.Label14->text(), QStringLiteral("子时换日"));
        QCOMPARE(f.Combo10->count(), 2);
        QCOMPARE(f.Combo10->itemText(0), QStringLiteral("23点"));
        QCOMPARE(f.Combo10->itemText(1), QStringLiteral("0点"));
        QCOMPARE(f.Combo10->currentIndex(), 0);
        QVERIFY(!std::filesystem::exists(Folder() / "zishi.ini"));
        Run(f, QStringLiteral("张三"));
        const QString byDefault = f.ReportBox()->Text();

        f.Combo10->setCurrentIndex(1);
        QCOMPARE(QString::fromStdString(test::ReadBytes(Folder() / "zishi.ini")), QStringLiteral("0\r\n"));
        Run(f, QStringLiteral("张三"));
        const Report r = CoreReport(f);
        QCOMPARE(f.ReportBox()->Text(), Q(r.text));
        QVERIFY(f.ReportBox()->Text() != byDefault);
        // The day pillar of the civil day, 庚子, instead of 辛丑.
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("乾造    戊        甲        庚        戊")));
        QVERIFY(byDefault.contains(QStringLiteral("乾造    戊        甲        辛        戊")));

        // The next start in the same folder shows the choice again.
        MainFrm& again = Open(At(1988, 2, 15, 23, 30), false);
        QCOMPARE(again.Combo10->currentText(), QStringLiteral("0点"));
        again.Combo10->setCurrentIndex(0);
        QCOMPARE(QString::fromStdString(test::ReadBytes(Folder() / "zishi.ini")), QStringLiteral("23\r\n"));
    }

    void daylightSavingBoxFollowsTheSelectedTime() {
        // 14 September 1986: the clocks went back from 2:00 to 1:00.
        MainFrm& f = Open(At(1986, 9, 14, 1, 30));
        QCOMPARE(f.Label15->text(), QStringLiteral("夏令时"));
        QVERIFY(f.Check3->isChecked());
        f.Combo4->setCurrentIndex(2);
        QVERIFY(!f.Check3->isChecked());
        f.Combo2->setCurrentIndex(6);  // July
        QVERIFY(f.Check3->isChecked());
        f.Combo1->setCurrentIndex(1985 - 1900);
        QVERIFY(!f.Check3->isChecked());
        // Lunar 1986 七月十四 is 19 August 1986, in daylight saving time.
        f.Combo1->setCurrentIndex(1986 - 1900);
        QTest::mouseClick(f.Label12, Qt::LeftButton);
        QVERIFY(f.Check3->isChecked());
        QTest::mouseClick(f.Label11, Qt::LeftButton);
        // 20 April 1986 lies before the summer time, lunar 四月二十 (28 May)
        // in it: the box reads the calendar the click has just chosen.
        f.Combo2->setCurrentIndex(3);
        f.Combo3->setCurrentIndex(19);
        QVERIFY(!f.Check3->isChecked());
        QTest::mouseClick(f.Label12, Qt::LeftButton);
        QVERIFY(f.Check3->isChecked());
        QTest::mouseClick(f.Label11, Qt::LeftButton);
        QVERIFY(!f.Check3->isChecked());
        // Lunar 三月廿六 is 4 May, the first day of the summer time: at 23:30
        // it lies in it under the 0点 rule, on the evening before under 23点.
        QTest::mouseClick(f.Label12, Qt::LeftButton);
        f.Combo2->setCurrentIndex(2);
        f.Combo3->setCurrentIndex(25);
        f.Combo4->setCurrentIndex(23);
        QVERIFY(!f.Check3->isChecked());
        f.Combo10->setCurrentIndex(1);
        QVERIFY(f.Check3->isChecked());
        f.Combo10->setCurrentIndex(0);
        QVERIFY(!f.Check3->isChecked());
        QTest::mouseClick(f.Label11, Qt::LeftButton);
        f.Combo2->setCurrentIndex(6);
        f.Combo3->setCurrentIndex(13);

        // Ticked, the run moves the time back an hour and says so.
        f.Combo4->setCurrentIndex(15);
        f.Combo9->setCurrentIndex(30);
        QVERIFY(f.Check3->isChecked());
        Run(f, QStringLiteral("张三"));
        QCOMPARE(f.ReportBox()->Text(), Q(CoreReport(f).text));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("公历:1986年7月14日14:30:00时(已减夏令时1小时)")));
        // The user may untick it.
        QTest::mouseClick(f.Label15, Qt::LeftButton);
        QVERIFY(!f.Check3->isChecked());
        Run(f, QStringLiteral("张三"));
        QCOMPARE(f.ReportBox()->Text(), Q(CoreReport(f).text));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("公历:1986年7月14日15:30:00时        ")));
    }

    void secondRunReplacesTheFirst() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        f.ReportBox()->AppendText(QStringLiteral("\r\nuser notes"));
        QTest::mouseClick(f.Label12, Qt::LeftButton);  // lunar input
        ClickOption(f.Option2);
        f.Combo1->setCurrentIndex(84);
        f.Combo2->setCurrentIndex(9);
        f.Combo3->setCurrentIndex(28);  // 闰十月 of 1984 has 29 days
        f.Check1->setChecked(true);
        f.Check2->setChecked(true);
        f.Combo5->setCurrentIndex(1);
        f.Combo4->setCurrentIndex(23);
        Run(f, QStringLiteral("李四"));
        const Report r = CoreReport(f);
        QCOMPARE(f.ReportBox()->Text(), Q(r.text));
        QVERIFY(!f.ReportBox()->Text().contains(QStringLiteral("张三")));
        QVERIFY(!f.ReportBox()->Text().contains(QStringLiteral("user notes")));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("(真太阳时)")));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("年闰十月")));
        QCOMPARE(f.CurrentRecord().sex, std::string("女 "));
        // Colours of the first report do not leak into the second.
        VerifyRedPassages(f, r);
    }

    void infoPanel() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        f.Text3->setPlainText(QStringLiteral("  预测:\n大运顺遂"));
        QVERIFY(!f.Picture2->isVisible());
        QTest::mouseClick(f.Command5, Qt::LeftButton);
        QVERIFY(f.Picture2->isVisible());
        // The panel lies over the lower right part of the report box.
        const QRect box = f.ReportBox()->geometry();
        QVERIFY(box.contains(f.Picture2->geometry()));
        QVERIFY(f.Picture2->geometry().center().x() > box.center().x());
        QVERIFY(f.Picture2->geometry().center().y() > box.center().y());
        QTest::mouseClick(f.Image1, Qt::LeftButton);
        QVERIFY(!f.Picture2->isVisible());
        QTest::mouseClick(f.Command5, Qt::LeftButton);
        QVERIFY(f.Picture2->isVisible());
        QCOMPARE(f.Text3->toPlainText(), QStringLiteral("  预测:\n大运顺遂"));
        QTest::mouseClick(f.Command5, Qt::LeftButton);
        QVERIFY(!f.Picture2->isVisible());
    }

    void buttonsAndAccelerators() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        const std::pair<QPushButton*, const char*> buttons[] = {
            {f.Command1, "开始排盘(&D)"}, {f.Command2, "保存结果(&S)"}, {f.Command7, "另存为...(&Y)"},
            {f.Command3, "打印结果(&P)"}, {f.Command4, "读取存档(&R)"}, {f.Command5, "信息窗口(&M)"},
            {f.Command8, "万年日历(&W)"}, {f.Command6, "系统设置(&N)"}, {f.Command9, "系统帮助(&H)"},
            {f.Command10, "退出系统(&X)"}};
        int previousY = -1;
        for (const auto& [button, caption] : buttons) {
            QCOMPARE(button->text(), QString::fromUtf8(caption));
            QVERIFY(button->y() > previousY);  // a column, top to bottom
            previousY = button->y();
            QVERIFY(button->x() > f.ReportBox()->geometry().right());
        }
        // Alt+D starts a run.
        f.Text1->setText(QStringLiteral("王五"));
        QTest::keyClick(f.windowHandle(), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(f.ReportBox()->Text().contains(QStringLiteral("王五")));  // an animated click
        // The buttons of the other windows and of the end ask the frame.
        QSignalSpy help(&f, &MainFrm::helpRequested), exit(&f, &MainFrm::exitRequested),
            archive(&f, &MainFrm::archiveRequested), settings(&f, &MainFrm::settingsRequested),
            calendar(&f, &MainFrm::calendarRequested);
        QTest::keyClick(f.windowHandle(), Qt::Key_H, Qt::AltModifier);
        QTest::keyClick(f.windowHandle(), Qt::Key_X, Qt::AltModifier);
        QTest::mouseClick(f.Command4, Qt::LeftButton);
        QTest::mouseClick(f.Command6, Qt::LeftButton);
        QTest::mouseClick(f.Command8, Qt::LeftButton);
        QTRY_COMPARE(help.count(), 1);
        QTRY_COMPARE(exit.count(), 1);
        QCOMPARE(archive.count(), 1);
        QCOMPARE(settings.count(), 1);
        QCOMPARE(calendar.count(), 1);
    }

    void saveTwiceGivesTwoRecordsAndTwoFiles() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        f.Combo5->setCurrentIndex(1);
        Run(f, QStringLiteral("张三"));
        const QString report = f.ReportBox()->Text();
        QCOMPARE(f.CurrentRecord().place, FitChars("1北京,北京", 14));
        // Each file is the report with the extra text once; the box keeps
        // the report alone.
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        const QString once = report + QStringLiteral("\r\n  预测:\r\n");
        QCOMPARE(f.ReportBox()->Text(), report);
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(f.ReportBox()->Text(), report);

        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        for (const auto& m : dialogs_->messages) {
            QCOMPARE(m.text, QStringLiteral("文件保存成功!"));
            QCOMPARE(m.title, QStringLiteral("提示"));
            QCOMPARE(m.icon, MessageIcon::Information);
        }
        QCOMPARE(CountRecords(Folder()), std::optional<std::uintmax_t>(2));
        for (int position : {1, 2}) {
            const std::optional<ChartRecord> stored = ReadRecord(Folder(), position);
            QVERIFY(stored);
            QCOMPARE(stored->recordNumber, position - 1);
            QCOMPARE(stored->name, std::string("张三        "));  // 4 GBK bytes and 8 spaces
            QCOMPARE(stored->sex, std::string("男"));  // one two-byte character
            QCOMPARE(stored->place, std::string("1北京,北京    "));  // 10 bytes and 4 spaces
            QCOMPARE(stored->birthDate, OleDate({1985, 3, 12}));
            QCOMPARE(stored->deleted, 0);
            QVERIFY(stored->savedAt > OleDate({2020, 1, 1}));
        }
        QCOMPARE(ReadAll(folder_->filePath(QStringLiteral("save/1.txt"))), Gbk(once));
        QCOMPARE(ReadAll(folder_->filePath(QStringLiteral("save/2.txt"))), Gbk(once));
        QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("save/3.txt"))));
    }

    void saveWithTheFolderMissing() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        QVERIFY(QDir(folder_->filePath(QStringLiteral("save"))).removeRecursively());
        Run(f, QStringLiteral("张三"));
        const QString report = f.ReportBox()->Text();
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("目录Save文件夹丢失!"));
        QCOMPARE(dialogs_->messages[0].title, QStringLiteral("提示"));
        QCOMPARE(dialogs_->messages[0].icon, MessageIcon::Information);
        // The box keeps the report; the archive lists no chart without its
        // text, and the folder is not created.
        QCOMPARE(f.ReportBox()->Text(), report);
        QCOMPARE(CountRecords(Folder()).value_or(99), std::uintmax_t{0});
        QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("save"))));
    }

    void saveBeforeAnyRunAndWithNothingToSave() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        // The greeting belongs to no chart: no record without a birth.
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.back().text, kNoRecord);
        QCOMPARE(CountRecords(Folder()).value_or(99), std::uintmax_t{0});
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        Run(f, QStringLiteral("张三"));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("文件保存成功!"));
        // Spaces only: nothing to save, nothing appended.
        f.ReportBox()->SetText(QStringLiteral("   "));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("没有文本数据,请先计算."));
        QCOMPARE(dialogs_->messages.back().icon, MessageIcon::Information);
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("   "));
        QCOMPARE(CountRecords(Folder()), std::optional<std::uintmax_t>(1));
    }

    void settingsAppliedAtStart() {
        // Without shezhi.ini: the defaults, and an empty file afterwards.
        {
            MainFrm& f = Open(At(1985, 3, 12, 9, 5));
            QCOMPARE(f.ReportBox()->font().family(), QStringLiteral("宋体"));
            QCOMPARE(f.ReportBox()->font().pointSizeF(), 10.5);
            QCOMPARE(QFileInfo(folder_->filePath(QStringLiteral("shezhi.ini"))).size(), 0);
            QCOMPARE(f.ReportBox()->palette().color(QPalette::Base),
                     QApplication::palette(f.ReportBox()).color(QPalette::Base));
        }
        // A named pipe for shezhi.ini: the defaults at once, not a start
        // that waits for a writer (the alarm ends a hanging test).
        {
            NewFolder();
            QCOMPARE(::mkfifo(QFile::encodeName(folder_->filePath(QStringLiteral("shezhi.ini"))).constData(), 0600), 0);
            ::alarm(20);
            MainFrm& f = Open(At(1985, 3, 12, 9, 5), false);
            ::alarm(0);
            QCOMPARE(f.ReportBox()->font().family(), QStringLiteral("宋体"));
            QCOMPARE(f.ReportBox()->font().pointSizeF(), 10.5);
            QVERIFY(!QFileInfo(folder_->filePath(QStringLiteral("shezhi.ini"))).isFile());
        }
        // A stored style: background, font, and the colour of the greeting.
        NewFolder();
        Settings s;
        s.backgroundColour = 0x00C0FFFF;
        s.font.name = "隶书";
        s.font.pointSize = 12;
        s.font.bold = true;
        s.font.underline = true;
        s.textColour = 0x00800000;
        QVERIFY(WriteSettingsRecord(Folder(), EncodeSettings(s)));
        MainFrm& f = Open(At(1985, 3, 12, 9, 5), false);
        QCOMPARE(f.ReportBox()->font().family(), QStringLiteral("隶书"));
        QCOMPARE(f.ReportBox()->font().pointSizeF(), 12.0);
        QVERIFY(f.ReportBox()->font().bold());
        QVERIFY(f.ReportBox()->font().underline());
        QVERIFY(!f.ReportBox()->font().italic());
        QCOMPARE(f.ReportBox()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
        const std::vector<QColor> colors = CharacterColors(*f.ReportBox()->document());
        QVERIFY(!colors.empty());
        for (const QColor& c : colors) QCOMPARE(c, QColor(0, 0, 0x80));
        // The font and the text colour also hold for the report written
        // later, whose passages are red all the same.
        Run(f, QStringLiteral("张三"));
        QCOMPARE(f.ReportBox()->font().family(), QStringLiteral("隶书"));
        QCOMPARE(f.ReportBox()->document()->defaultFont().pointSizeF(), 12.0);
        VerifyRedPassages(f, CoreReport(f), QColor(0, 0, 0x80));
    }

    void storedFontNamesCutShortComeBackWhole_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("WenQuanYi") << QStringLiteral("WenQuanYi Zen Hei Mono") << QByteArray("WenQuanYi ");
        QTest::newRow("AR PL UMing") << QStringLiteral("AR PL UMing CN") << QByteArray("AR PL UMin");
    }
    void storedFontNamesCutShortComeBackWhole() {
        QFETCH(QString, family);
        QFETCH(QByteArray, stored);
        NewFolder();
        Settings s;
        s.font.name = family.toStdString();
        const SettingsBytes bytes = EncodeSettings(s);
        // The record keeps its 37 bytes and its 10-byte name field.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()) + 4, 10), stored);
        QVERIFY(WriteSettingsRecord(Folder(), bytes));
        MainFrm& f = Open(At(1985, 3, 12, 9, 5), false);
        QCOMPARE(f.ReportBox()->font().family(), family);
        QCOMPARE(QFontInfo(f.ReportBox()->font()).family(), family);
    }

    void theBoxShowsTheTopAfterARunAt14Points() {
        NewFolder();
        Settings s;
        s.font.pointSize = 14;
        QVERIFY(WriteSettingsRecord(Folder(), EncodeSettings(s)));
        MainFrm& f = Open(At(1985, 3, 12, 9, 5), false);
        Run(f, QStringLiteral("张三"));
        QTest::qWait(50);
        QCOMPARE(f.ReportBox()->font().pointSizeF(), 14.0);
        QVERIFY(f.ReportBox()->verticalScrollBar()->maximum() > 0);  // the report is longer than the box
        QCOMPARE(f.ReportBox()->verticalScrollBar()->value(), 0);
        QCOMPARE(f.ReportBox()->horizontalScrollBar()->value(), 0);
        QCOMPARE(f.ReportBox()->cursorForPosition(QPoint(4, 4)).blockNumber(), 0);
        // No passage stays selected.
        QVERIFY(!f.ReportBox()->textCursor().hasSelection());
    }

    void saveAsWritesGbkWithoutAddingAnExtension() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString before = f.ReportBox()->Text();
        const QString path = folder_->filePath(QStringLiteral("result"));
        dialogs_->files = {path};
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(dialogs_->fileDialogs[0].title, QStringLiteral("计算结果另存为...[腾岚四柱排盘]"));
        QCOMPARE(dialogs_->fileDialogs[0].filter, QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
        QCOMPARE(dialogs_->fileDialogs[0].filterIndex, 2);
        QVERIFY(!QFile::exists(path + QStringLiteral(".txt")));
        const QString after = before + QStringLiteral("\r\n  预测:\r\n");
        QCOMPARE(f.ReportBox()->Text(), before);
        QCOMPARE(ReadAll(path), Gbk(after));
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("文件保存成功!"));
        QCOMPARE(dialogs_->messages[0].title, QStringLiteral("提示"));
        QCOMPARE(dialogs_->messages[0].icon, MessageIcon::Information);
        QCOMPARE(dialogs_->messages[0].buttons, MessageButtons::Ok);
        // The red passages keep their colour through the appending.
        QCOMPARE(CharacterColors(*f.ReportBox()->document())[static_cast<std::size_t>(
                     before.indexOf(QStringLiteral("大运干支")))],
                 QColor(255, 0, 0));
        QFile::remove(path);
    }

    void saveAsOverwrite() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString before = f.ReportBox()->Text();
        const QString path = folder_->filePath(QStringLiteral("old.txt"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("OLD");
        }
        // Cancel at the question: nothing written, the box unchanged.
        dialogs_->files = {path};
        dialogs_->answers = {MessageResult::Cancel};
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("文件已存在,是否覆盖原文件?"));
        QCOMPARE(dialogs_->messages[0].title, QStringLiteral("提示"));
        QCOMPARE(dialogs_->messages[0].icon, MessageIcon::Question);
        QCOMPARE(dialogs_->messages[0].buttons, MessageButtons::OkCancel);
        QCOMPARE(ReadAll(path), QByteArray("OLD"));
        QCOMPARE(f.ReportBox()->Text(), before);
        // OK at the question replaces the content; the file keeps its
        // permission bits.
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        dialogs_->files = {path};
        dialogs_->answers = {MessageResult::Ok};
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(ReadAll(path), Gbk(before + QStringLiteral("\r\n  预测:\r\n")));
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("文件保存成功!"));
        QCOMPARE(ModeOf(path), 0600);
        QFile::remove(path);
    }

    void saveAsCancelAndEmpty() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        // Cancel in the dialog: nothing happens.
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("腾岚八字排盘系统:"));
        // A box of spaces only has nothing to save.
        f.ReportBox()->SetText(QStringLiteral("    "));
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("没有文本数据,请先计算."));
        QCOMPARE(dialogs_->messages[0].icon, MessageIcon::Information);
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("    "));
        // A folder that cannot take the file: the path and the reason.
        dialogs_->messages.clear();
        f.ReportBox()->SetText(QStringLiteral("x"));
        const QString target = folder_->filePath(QStringLiteral("no/such/folder/r.txt"));
        dialogs_->files = {target};
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QVERIFY(dialogs_->messages[0].text.contains(target));
        QVERIFY(dialogs_->messages[0].text.contains(QString::fromUtf8(std::strerror(ENOENT))));
    }

    // In traditional characters: the report converted line for line, its red
    // passages where they were, the hour label and the places too; the
    // saved text is GB18030 of what the box shows, and the archive keeps
    // the fields as the core writes them.
    void reportInTraditional() {
        SetDisplayScript(Script::kHant);
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        QCOMPARE(f.Label2->text(), QStringLiteral("巳時"));
        QCOMPARE(f.Combo5->itemText(0), QStringLiteral("不考慮"));
        QCOMPARE(f.Command12->text(), QStringLiteral("導出圖片"));
        Run(f, QStringLiteral("张三"));
        Report report = CoreReport(f);
        report.text = ToScript(report.text, Script::kHant);
        QCOMPARE(f.ReportBox()->Text(), Q(report.text));
        QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("騰嵐八字排盤")));
        VerifyRedPassages(f, report);
        f.Text3->clear();
        f.SaveResult();
        SetDisplayScript(Script::kHans);
        QCOMPARE(dialogs_->messages.back().text, Q(ToScript("文件保存成功!", Script::kHant)));
        QCOMPARE(ReadAll(folder_->filePath(QStringLiteral("save/1.txt"))), Gbk(Q(report.text)));
        const std::optional<ChartRecord> stored = ReadRecord(Folder(), 1);
        QVERIFY(stored);
        QCOMPARE(stored->name, std::string("张三        "));
    }

    void exportNeedsAReport() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        f.ReportBox()->SetText(QStringLiteral("   "));
        QTest::mouseClick(f.Command12, Qt::LeftButton);
        QTest::mouseClick(f.Command13, Qt::LeftButton);
        QVERIFY(dialogs_->fileDialogs.empty());
        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        QCOMPARE(dialogs_->messages[1].text, QStringLiteral("没有文本数据,请先计算."));
    }

    // The report as pictures for a phone: 1440 pixels wide, cut between
    // lines into screens of at most 2560 pixels, every line of the box one
    // line of the picture, red where the report is red.
    void exportPictures() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const Report report = CoreReport(f);
        const QString before = f.ReportBox()->Text();
        dialogs_->files = {folder_->filePath(QStringLiteral("chart"))};
        QTest::mouseClick(f.Command12, Qt::LeftButton);
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(dialogs_->fileDialogs[0].suggested,
                 QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
                     .filePath(QStringLiteral("张三_1985-03-12.png")));
        QCOMPARE(f.ReportBox()->Text(), before);  // the box keeps its text
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("文件保存成功!"));

        // The pictures in reading order, chart-1.png, chart-2.png ...
        std::vector<QImage> pictures;
        for (int n = 1; QFile::exists(folder_->filePath(QStringLiteral("chart-%1.png").arg(n))); ++n)
            pictures.push_back(QImage(folder_->filePath(QStringLiteral("chart-%1.png").arg(n))));
        QVERIFY(pictures.size() >= 2);
        QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("chart.png"))));
        // Red where the report's red passages are: a band of red rows for
        // every run of lines holding red, the title first, at the top of
        // the first picture, and in the first picture each band at its
        // lines, the line pitch taken from the title and the next run.
        const std::vector<std::pair<int, int>> runs = RedLineRuns(report);
        QVERIFY(runs.size() >= 4);
        QCOMPARE(runs[0], std::make_pair(0, 0));
        std::vector<std::vector<std::pair<int, int>>> red;
        std::size_t redBands = 0;
        int left = RichTextBox::kPictureWidth, right = 0;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const QImage& p = pictures[i];
            QCOMPARE(p.width(), RichTextBox::kPictureWidth);
            if (i + 1 < pictures.size()) QCOMPARE(p.height(), RichTextBox::kPictureHeight);
            else QVERIFY(p.height() > 2 * RichTextBox::kPictureMargin && p.height() <= RichTextBox::kPictureHeight);
            // No line is cut by the edge of a picture.
            QVERIFY(FirstInkRow(p) >= RichTextBox::kPictureMargin - 2);
            QVERIFY(FirstInkRow(p.mirrored(false, true)) >= RichTextBox::kPictureMargin - 8);
            red.push_back(RedBands(p, 12));
            redBands += red.back().size();
            for (int x = 0; x < p.width(); ++x)
                for (int y = 0; y < p.height(); y += 2)
                    if (p.pixel(x, y) != p.pixel(0, 0)) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
        }
        QCOMPARE(redBands, runs.size());
        QVERIFY(red[0][0].first - FirstInkRow(pictures[0]) <= 2);
        const qreal pitch = (red[0][1].first - red[0][0].first) / static_cast<qreal>(runs[1].first);
        QVERIFY(pitch > 20 && pitch < 40);
        for (std::size_t k = 0; k < red[0].size(); ++k) {
            QVERIFY(std::abs(red[0][k].first - red[0][0].first - runs[k].first * pitch) < pitch / 3);
            QVERIFY(red[0][k].second - red[0][k].first < (runs[k].second - runs[k].first + 1) * pitch);
        }
        // The longest line fills the width between the margins.
        QVERIFY(left >= RichTextBox::kPictureMargin - 2 && left < RichTextBox::kPictureMargin + 40);
        QVERIFY(right > RichTextBox::kPictureWidth - RichTextBox::kPictureMargin - 40 &&
                right <= RichTextBox::kPictureWidth - RichTextBox::kPictureMargin + 2);

        // A second export onto the same names asks first; Cancel writes
        // nothing.
        const QDateTime written = QFileInfo(folder_->filePath(QStringLiteral("chart-1.png"))).lastModified();
        dialogs_->files = {folder_->filePath(QStringLiteral("chart.png"))};
        dialogs_->answers = {MessageResult::Cancel};
        QTest::mouseClick(f.Command12, Qt::LeftButton);
        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        QCOMPARE(dialogs_->messages[1].text, QStringLiteral("文件已存在,是否覆盖原文件?"));
        QCOMPARE(QFileInfo(folder_->filePath(QStringLiteral("chart-1.png"))).lastModified(), written);
    }

    // The report as a PDF: its text searchable, line for line, the fonts
    // embedded, the red passages red.
    void exportPdf() {
        for (const char* tool : {"pdftotext", "pdffonts", "pdfinfo", "pdftoppm"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) QSKIP("poppler-utils is not installed");
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        f.Text3->setPlainText(QStringLiteral("  预测:大运顺遂\n"));
        const QString before = f.ReportBox()->Text();
        const QString pdf = folder_->filePath(QStringLiteral("张三.pdf"));
        dialogs_->files = {pdf};
        QTest::mouseClick(f.Command13, Qt::LeftButton);
        QCOMPARE(dialogs_->fileDialogs[0].suggested,
                 QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                     .filePath(QStringLiteral("张三_1985-03-12.pdf")));
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("文件保存成功!"));
        QCOMPARE(f.ReportBox()->Text(), before);
        // Every line of the box and the extra text, in order, as text.
        QCOMPARE(InkLines(Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")})),
                 InkLines(before + QStringLiteral("\r\n  预测:大运顺遂\r\n")));
        // Every font embedded.
        const QStringList fonts = Poppler("pdffonts", {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts) {
            const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY2(columns.size() >= 5 && columns[columns.size() - 5] == QStringLiteral("yes"), qPrintable(font));
        }
        QVERIFY(Poppler("pdfinfo", {pdf}).contains(QRegularExpression(QStringLiteral("Title: +张三_1985-03-12"))));
        // The title on the first page is red.
        const QString png = folder_->filePath(QStringLiteral("page"));
        Poppler("pdftoppm", {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"), QStringLiteral("1"),
                             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"),
                             QStringLiteral("-singlefile"), pdf, png});
        const QImage page(png + QStringLiteral(".png"));
        const std::vector<std::pair<int, int>> red = RedBands(page, 2);
        QVERIFY(!red.empty());
        QVERIFY(red[0].first - FirstInkRow(page) <= 1);
        QVERIFY(red.size() >= 3);
    }

    void printCancel() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString before = f.ReportBox()->Text();
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(dialogs_->printDialogs, 1);
        QCOMPARE(f.ReportBox()->Text(), before);
        QVERIFY(dialogs_->messages.empty());
    }

    void printToPdf() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString before = f.ReportBox()->Text();
        const QString pdf = folder_->filePath(QStringLiteral("report.pdf"));
        dialogs_->printer = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.ReportBox()->Text(), before);
        const QByteArray bytes = ReadAll(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 10000);
        // Printed in the report face, not in a look-alike.
        QVERIFY(bytes.contains("UMing"));
        // No empty check; the box stays as it is.
        f.ReportBox()->SetText(QStringLiteral("   "));
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("   "));
        QCOMPARE(dialogs_->printDialogs, 2);
        QVERIFY(dialogs_->messages.empty());
        QFile::remove(pdf);
    }

    void printKeepsEveryLineWholeOnThePage_data() {
        QTest::addColumn<double>("size");
        QTest::newRow("10.5 pt") << 10.5;
        QTest::newRow("22 pt") << 22.0;
    }
    void printKeepsEveryLineWholeOnThePage() {
        QFETCH(double, size);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) QSKIP("pdftotext is not installed");
        NewFolder();
        Settings s;
        s.font.pointSize = size;
        QVERIFY(WriteSettingsRecord(Folder(), EncodeSettings(s)));
        MainFrm& f = Open(At(1985, 3, 12, 9, 5), false);
        Run(f, QStringLiteral("张三"));
        const QString pdf = folder_->filePath(QStringLiteral("report.pdf"));
        dialogs_->printer = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setPageSize(QPageSize(QPageSize::A4));
            p.setPageOrientation(QPageLayout::Portrait);
            return true;
        };
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        // Every line of the box is one printed line, in order, none split.
        const QStringList box = InkLines(f.ReportBox()->Text() + QStringLiteral("\r\n  预测:\r\n"));
        QVERIFY(box.size() > 140);
        QCOMPARE(InkLines(Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")})), box);
        // And every word lies on the page, at least 12 mm from its edges.
        const QString boxes = Poppler("pdftotext", {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
        const QRegularExpression word(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
        const QRegularExpressionMatch first = page.match(boxes);
        QVERIFY(first.hasMatch());
        const double width = first.captured(1).toDouble(), height = first.captured(2).toDouble();
        const double margin = 12 / 25.4 * 72 - 1;
        int words = 0;
        for (const QRegularExpressionMatch& m : word.globalMatch(boxes)) {
            ++words;
            QVERIFY2(m.captured(1).toDouble() >= margin && m.captured(3).toDouble() <= width - margin &&
                         m.captured(2).toDouble() >= margin && m.captured(4).toDouble() <= height - margin,
                     qPrintable(m.captured(0)));
        }
        QVERIFY(words > 500);
    }

    void aKeyAfterARunLeavesTheTitle() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString report = f.ReportBox()->Text();
        QTRY_VERIFY(f.ReportBox()->hasFocus());
        QTest::keyClick(f.ReportBox(), Qt::Key_X);
        // The key goes in at the caret, before the title; nothing is replaced.
        QCOMPARE(f.ReportBox()->Text(), QStringLiteral("x") + report);
        // The title keeps its red colour.
        QCOMPARE(CharacterColors(*f.ReportBox()->document())[static_cast<std::size_t>(
                     f.ReportBox()->Text().indexOf(QStringLiteral("腾岚")))],
                 QColor(255, 0, 0));
    }

    void printThenSaveAddsTheInfoTextOnce() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString report = f.ReportBox()->Text();
        const QString pdf = folder_->filePath(QStringLiteral("p.pdf"));
        dialogs_->printer = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
        const QString as = folder_->filePath(QStringLiteral("as.txt"));
        dialogs_->files = {as};
        QTest::mouseClick(f.Command3, Qt::LeftButton);  // print
        QTest::mouseClick(f.Command7, Qt::LeftButton);  // save as
        QTest::mouseClick(f.Command2, Qt::LeftButton);  // save
        const QString once = report + QStringLiteral("\r\n  预测:\r\n");
        QCOMPARE(ReadAll(as), Gbk(once));
        QCOMPARE(ReadAll(folder_->filePath(QStringLiteral("save/1.txt"))), Gbk(once));
        QCOMPARE(f.ReportBox()->Text(), report);
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            const QString printed = Poppler("pdftotext", {pdf, QStringLiteral("-")});
            QCOMPARE(printed.count(QStringLiteral("预测")), 1);
        }
        // An empty info text adds nothing, not even a line end.
        f.Text3->setPlainText(QStringLiteral("  \n"));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(ReadAll(folder_->filePath(QStringLiteral("save/2.txt"))), Gbk(report));
    }

    void saveAsOffersUtf8() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        Run(f, QStringLiteral("张三"));
        const QString path = folder_->filePath(QStringLiteral("utf8.txt"));
        dialogs_->files = {path};
        dialogs_->encodings = {TextEncoding::Utf8};
        QTest::mouseClick(f.Command7, Qt::LeftButton);
        const QByteArray bytes = ReadAll(path);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));  // no byte-order mark
        QCOMPARE(bytes, (f.ReportBox()->Text() + QStringLiteral("\r\n  预测:\r\n")).toUtf8());
        // The import reads it back as it was written.
        QVERIFY(f.ImportReportFile(std::filesystem::path(QFile::encodeName(path).toStdString())));
        QCOMPARE(f.ReportBox()->Text(), QString::fromUtf8(bytes));
    }

    void impossibleDatesAreRefused() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        const struct {
            bool lunar, leap;
            int year, month, day;
            const char* message;  // empty: charted
        } cases[] = {
            {false, false, 1990, 2, 30, "1990年2月只有28天"},
            {false, false, 1990, 4, 31, "1990年4月只有30天"},
            {true, true, 2024, 5, 1, "农历2024年没有闰月"},
            {true, false, 2024, 3, 30, "农历2024年三月只有29天"},
            {false, false, 2000, 2, 29, ""},
            {true, true, 2023, 2, 29, ""},
        };
        for (const auto& c : cases) {
            f.ReportBox()->SetText(QStringLiteral("旧的报告"));
            dialogs_->messages.clear();
            ClickOption(c.lunar ? f.Option4 : f.Option3);
            f.Check1->setChecked(c.leap);
            f.Combo1->setCurrentIndex(c.year - 1900);
            f.Combo2->setCurrentIndex(c.month - 1);
            f.Combo3->setCurrentIndex(c.day - 1);
            Run(f, QStringLiteral("张三"));
            if (*c.message) {
                QCOMPARE(dialogs_->messages.size(), std::size_t{1});
                QCOMPARE(dialogs_->messages[0].text, QString::fromUtf8(c.message));
                QCOMPARE(dialogs_->messages[0].title, QStringLiteral("提示"));
                QCOMPARE(f.ReportBox()->Text(), QStringLiteral("旧的报告"));
                QTRY_VERIFY(f.Combo3->hasFocus());
            } else {
                QVERIFY(dialogs_->messages.empty());
                QVERIFY(f.ReportBox()->Text().contains(QStringLiteral("腾岚八字排盘")));
            }
        }
    }

    void closeIsRefused() {
        MainFrm& f = Open(At(1985, 3, 12, 9, 5));
        QVERIFY(!f.close());
        QVERIFY(f.isVisible());
        bool frameClosing = false;
        f.SetFrameClosingQuery([&] { return frameClosing; });
        QVERIFY(!f.close());
        frameClosing = true;
        QVERIFY(f.close());
        QVERIFY(!f.isVisible());
    }
};

TL_GUI_TEST(input_window_test, InputWindowTest);

}  // namespace tl::test

#include "input_window_test.moc"
