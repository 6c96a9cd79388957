// The archive window: its list, Read, Delete, Import and its two entry
// points.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "gui/archive/readfrm.h"
#include "archive/store.h"
#include "text/gbk.h"
#include "gui/input/mainfrm.h"
#include "support/gui/gui_support.h"
#include "support/gui/gui_test.h"
#include "support/gui/scripted_dialogs.h"
#include "gui/shell/monthfrm.h"
#include "gui/toolkit/richtextbox.h"

namespace tl::test {

namespace {

const QString kNoRecord = QStringLiteral("这份报告没有排盘记录,不能存入存档;请先排盘,或用另存为保存.");

QByteArray Gbk(const char* utf8) { return QByteArray::fromStdString(Utf8ToGbk(utf8)); }

}  // namespace

class ArchiveWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<MonthFrm> frame_;

    std::filesystem::path Folder() const { return PathOf(*folder_); }

    static ChartRecord Record(const char* name, const char* sex, const char* place) {
        ChartRecord r;
        r.name = name;
        r.sex = sex;
        r.place = place;
        r.birthDate = OleDate({1985, 3, 12});
        r.birthTime = (9 * 60 + 5) / 1440.0;
        return r;
    }

    // Saves three charts, each with its text "报告N".
    void SaveThree() {
        const char* names[] = {"张三", "李四", "王五"};
        for (int i = 0; i < 3; ++i) {
            const std::string text = "报告" + std::to_string(i + 1) + "\r\n第二行";
            QVERIFY(SaveChart(Folder(), Record(names[i], "男 ", "1北京,北京"), text, 39793.2).saved);
        }
    }

    MainFrm& Input() { return *frame_->Input(); }
    RichTextBox& Box() { return *frame_->Input()->ReportBox(); }

    ReadFrm& OpenFromMenu() {
        frame_->findChild<QAction*>(QStringLiteral("cmread"))->trigger();
        ReadFrm& w = *frame_->Archive();
        if (!QTest::qWaitForWindowExposed(&w)) qWarning("archive window not exposed");
        return w;
    }

    // A double click selects the line, then reports it.
    static void DoubleClick(ReadFrm& w, int row) {
        const QPoint at = w.List1->visualItemRect(w.List1->item(row)).center();
        QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.List1->viewport(), Qt::LeftButton, {}, at);
    }

    QString WriteFile(const char* name, const QByteArray& bytes) {
        const QString path = folder_->filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return {};
        f.write(bytes);
        return path;
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("save")));
        dialogs_ = std::make_unique<ScriptedDialogs>();
        frame_ = std::make_unique<MonthFrm>(Folder(), *dialogs_, [] {}, [] { return At(2008, 2, 4, 9, 5); });
        frame_->Timer1()->stop();
        frame_->show();
        Input().Text3->setPlainText(QStringLiteral("  预测:\n"));
    }
    void cleanup() {
        frame_.reset();
        dialogs_.reset();
        folder_.reset();
    }

    void windowShape() {
        ReadFrm& w = OpenFromMenu();
        QCOMPARE(w.windowTitle(), QStringLiteral("读取记录"));
        QVERIFY(w.isVisible());
        QVERIFY(w.isModal());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.Command1->text(), QStringLiteral("读 取(&R)"));
        QCOMPARE(w.Command2->text(), QStringLiteral("删 除(&D)"));
        QCOMPARE(w.Command4->text(), QStringLiteral("导 入(&E)"));
        QCOMPARE(w.Command3->text(), QStringLiteral("返 回(&C)"));
        // An empty archive lists nothing and selects nothing.
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(w.List1->currentRow(), -1);
        // Return closes it.
        w.Command3->click();
        QVERIFY(!w.isVisible());
    }

    void bothEntryPointsOpenOneWindow() {
        Input().Command4->click();
        ReadFrm* first = frame_->Archive();
        QVERIFY(first);
        frame_->findChild<QAction*>(QStringLiteral("cmread"))->trigger();
        QCOMPARE(frame_->Archive(), first);
        QCOMPARE(frame_->findChildren<ReadFrm*>().size(), 1);
    }

    void theSecondDeletedListsFourLines() {
        SaveThree();
        QVERIFY(MarkDeleted(Folder(), 2));
        ReadFrm& w = OpenFromMenu();
        QCOMPARE(w.List1->count(), 4);
        QVERIFY(w.List1->item(0)->text().startsWith(QStringLiteral("    1-张三")));
        QCOMPARE(w.List1->item(1)->text(), QString());
        QVERIFY(w.List1->item(2)->text().startsWith(QStringLiteral("    3-王五")));
        QCOMPARE(w.List1->item(3)->text(), QString());
        QCOMPARE(w.List1->currentRow(), 0);
    }

    void readingAnEmptyLineDoesNothing() {
        SaveThree();
        ReadFrm& w = OpenFromMenu();
        const QString before = Box().Text();
        w.List1->setCurrentRow(1);
        w.Command1->click();
        // Double-clicking the empty line does nothing either.
        DoubleClick(w, 3);
        QVERIFY(w.isVisible());
        QCOMPARE(Box().Text(), before);
        QCOMPARE(Input().Text3->toPlainText(), QStringLiteral("  预测:\n"));
        // Deleting the empty line deletes nothing and says nothing.
        w.List1->setCurrentRow(1);
        w.Command2->click();
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(w.List1->count(), 6);
    }

    void readLoadsTheTextAndEmptiesText3() {
        SaveThree();
        ReadFrm& w = OpenFromMenu();
        w.List1->setCurrentRow(2);
        w.Command1->click();
        QCOMPARE(Box().Text(), QStringLiteral("报告2\r\n第二行"));
        QCOMPARE(Input().Text3->toPlainText(), QString());
        QVERIFY(!w.isVisible());
    }

    void doubleClickReads() {
        SaveThree();
        ReadFrm& w = OpenFromMenu();
        DoubleClick(w, 4);
        QCOMPARE(Box().Text(), QStringLiteral("报告3\r\n第二行"));
        QVERIFY(!w.isVisible());
    }

    void aMissingTextLeavesTheBoxAndStillCloses() {
        SaveThree();
        QVERIFY(QFile::remove(folder_->filePath(QStringLiteral("save/1.txt"))));
        Box().SetText(QStringLiteral("旧的报告"));
        ReadFrm& w = OpenFromMenu();
        w.Command1->click();
        QCOMPARE(Box().Text(), QStringLiteral("旧的报告"));
        QCOMPARE(Input().Text3->toPlainText(), QString());
        QVERIFY(!w.isVisible());
    }

    void deleteAsksThenMessage() {
        SaveThree();
        ReadFrm& w = OpenFromMenu();
        w.List1->setCurrentRow(2);
        // Cancel at the question keeps the client.
        dialogs_->answers = {MessageResult::Cancel};
        w.Command2->click();
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, QStringLiteral("确定删除这条记录吗?\n\n李四 男 1985-3-12 9:05:00"));
        QCOMPARE(dialogs_->messages[0].title, QStringLiteral("提示"));
        QVERIFY(dialogs_->messages[0].icon == MessageIcon::Question);
        QVERIFY(dialogs_->messages[0].buttons == MessageButtons::OkCancel);
        QCOMPARE(ReadRecord(Folder(), 2)->deleted, 0);
        QCOMPARE(w.List1->count(), 6);
        // OK deletes.
        dialogs_->messages.clear();
        w.Command2->click();
        QCOMPARE(ReadRecord(Folder(), 2)->deleted, -1);
        QCOMPARE(ReadRecord(Folder(), 1)->deleted, 0);
        QCOMPARE(ReadRecord(Folder(), 3)->deleted, 0);
        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        QCOMPARE(dialogs_->messages[1].text, QStringLiteral("成功删除该记录!"));
        QCOMPARE(dialogs_->messages[1].title, QStringLiteral("提示"));
        QVERIFY(dialogs_->messages[1].icon == MessageIcon::Information);
        QVERIFY(dialogs_->messages[1].buttons == MessageButtons::Ok);
        QCOMPARE(w.List1->count(), 4);
        QCOMPARE(w.List1->currentRow(), 0);
        QVERIFY(w.isVisible());
    }

    void anEmptyListReadsAndDeletesNothing() {
        SaveThree();
        for (int k = 1; k <= 3; ++k) QVERIFY(MarkDeleted(Folder(), k));
        const QByteArray before = [&] {
            QFile f(folder_->filePath(QStringLiteral("reco.dat")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        ReadFrm& w = OpenFromMenu();
        QCOMPARE(w.List1->count(), 0);
        w.Command1->click();
        w.Command2->click();
        QVERIFY(w.isVisible());
        QVERIFY(dialogs_->messages.empty());
        QFile f(folder_->filePath(QStringLiteral("reco.dat")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void importCancelKeepsTheWindowOpen() {
        Box().SetText(QStringLiteral("旧的报告"));
        ReadFrm& w = OpenFromMenu();
        w.Command4->click();  // the script has no file: Cancel
        QCOMPARE(dialogs_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(dialogs_->fileDialogs[0].filter, QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
        QCOMPARE(dialogs_->fileDialogs[0].filterIndex, 2);
        QVERIFY(w.isVisible());
        QCOMPARE(Box().Text(), QStringLiteral("旧的报告"));
        QCOMPARE(Input().Text3->toPlainText(), QStringLiteral("  预测:\n"));
    }

    void importShowsHtmlAsText() {
        const QByteArray html = "<html><body><b>bold</b> &amp; <i>\xd6\xd0</i></body></html>\r\n";
        const QString path = WriteFile("page.htm", html);
        dialogs_->files.push_back(path);
        ReadFrm& w = OpenFromMenu();
        w.Command4->click();
        QCOMPARE(Box().Text(), QStringLiteral("<html><body><b>bold</b> &amp; <i>中</i></body></html>\r\n"));
        QCOMPARE(Input().Text3->toPlainText(), QString());
        QVERIFY(!w.isVisible());
    }

    void importReadsUtf8AndGbk_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("八字 刘䶮 €\r\n第二行\r\n");
        const QByteArray utf8 = text.toUtf8();
        QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF") + utf8;
        QTest::newRow("UTF-8 without a mark") << utf8;
        QTest::newRow("GB18030") << QByteArray::fromStdString(Utf8ToGbk(text.toStdString()));
    }
    void importReadsUtf8AndGbk() {
        QFETCH(QByteArray, bytes);
        const QString path = WriteFile("imported.txt", bytes);
        dialogs_->files.push_back(path);
        ReadFrm& w = OpenFromMenu();
        w.Command4->click();
        QCOMPARE(Box().Text(), QStringLiteral("八字 刘䶮 €\r\n第二行\r\n"));
        QVERIFY(!w.isVisible());
        // A plain GBK file reads as it always has.
        const QString gbk = WriteFile("gbk.txt", "\xD5\xC5\xC8\xFD abc\r\n");
        dialogs_->files.push_back(gbk);
        OpenFromMenu().Command4->click();
        QCOMPARE(Box().Text(), QStringLiteral("张三 abc\r\n"));
    }

    void aNameOutsideGbkSurvivesSaveAndRead() {
        Input().Text1->setText(QStringLiteral("刘䶮"));
        Input().Command1->click();
        const QString report = Box().Text();
        QVERIFY(report.contains(QStringLiteral("刘䶮")));
        Input().Command2->click();
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("文件保存成功!"));
        // reco.dat and save/1.txt hold the GB18030 bytes of 䶮.
        QFile saved(folder_->filePath(QStringLiteral("save/1.txt")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("\xC1\xF5\xFE\x9F"));
        QCOMPARE(ReadRecord(Folder(), 1)->name, std::string("刘䶮") + std::string(8, ' '));
        // The archive lists the name and reads the report back whole.
        Box().SetText(QStringLiteral("别的"));
        ReadFrm& w = OpenFromMenu();
        QVERIFY(w.List1->item(0)->text().startsWith(QStringLiteral("    1-刘䶮")));
        w.Command1->click();
        QCOMPARE(Box().Text(), report + QStringLiteral("\r\n  预测:\r\n"));
    }

    void readBackThenSaveFilesUnderItsOwnRecord() {
        // Two clients charted and saved; the first read back and saved again
        // is filed under its own name and birth, not the last run's.
        SaveThree();
        Input().Text1->setText(QStringLiteral("赵六"));
        Input().Command1->click();
        const ChartRecord lastRun = Input().CurrentRecord();
        ReadFrm& w = OpenFromMenu();
        w.List1->setCurrentRow(0);  // 张三
        w.Command1->click();
        Input().Text3->setPlainText(QStringLiteral("复诊"));
        Input().Command2->click();
        QCOMPARE(dialogs_->messages.back().text, QStringLiteral("文件保存成功!"));
        const std::optional<ChartRecord> saved = ReadRecord(Folder(), 4);
        QVERIFY(saved);
        QCOMPARE(saved->name, ReadRecord(Folder(), 1)->name);
        QCOMPARE(saved->birthDate, OleDate({1985, 3, 12}));
        QVERIFY(saved->name != lastRun.name);
        QCOMPARE(QFile(folder_->filePath(QStringLiteral("save/4.txt"))).size(),
                 static_cast<qint64>(Gbk("报告1\r\n第二行\r\n复诊").size()));
        // An imported text belongs to nobody: it is not filed.
        const QString other = WriteFile("other.txt", QByteArray("imported"));
        dialogs_->files = {other};
        OpenFromMenu().Command4->click();
        Input().Command2->click();
        QCOMPARE(dialogs_->messages.back().text, kNoRecord);
        QCOMPARE(CountRecords(Folder()), std::optional<std::uintmax_t>(4));
    }

    void searchAndRechartAClient() {
        SaveThree();
        // The birth year finds all three, a part of a name one.
        ReadFrm& w = OpenFromMenu();
        QTest::keyClicks(w.Text1, QStringLiteral("1985"));
        QCOMPARE(w.List1->count(), 6);
        w.Text1->clear();
        w.Text1->insert(QStringLiteral("李"));  // as an input method types it
        QCOMPARE(w.List1->count(), 2);
        QVERIFY(w.List1->item(0)->text().startsWith(QStringLiteral("    2-李四")));
        QTest::keyClicks(w.Text1, QStringLiteral("x"));
        QCOMPARE(w.List1->count(), 0);
        w.Text1->setText(QStringLiteral("李"));
        // 重新排盘: the birth back in the input window, charted again.
        QCOMPARE(w.Command5->text(), QStringLiteral("重新排盘(&A)"));
        w.Command5->click();
        QVERIFY(!w.isVisible());
        MainFrm& f = Input();
        QCOMPARE(f.Text1->text(), QStringLiteral("李四"));
        QVERIFY(f.Option1->isChecked() && f.Option3->isChecked());
        QCOMPARE(f.Combo1->currentText() + f.Combo2->currentText() + f.Combo3->currentText(),
                 QStringLiteral("1985312"));
        QCOMPARE(f.Combo4->currentText() + f.Combo9->currentText(), QStringLiteral("95"));
        QCOMPARE(f.Combo5->currentText() + f.Combo6->currentText(), QStringLiteral("1北京北京"));
        QVERIFY(!f.Check2->isChecked() && !f.Check3->isChecked());
        QVERIFY(Box().Text().contains(QStringLiteral("  姓名:李四\r\n  出生地点: 1北京,北京\r\n")));
        QVERIFY(Box().Text().contains(QStringLiteral("公历:1985年3月12日9:05:00时")));
        QCOMPARE(QString::fromStdString(f.CurrentRecord().name).trimmed(), QStringLiteral("李四"));
    }

    void importOfWhatCannotBeLoadedChangesNothing() {
        // A folder, a device and a file too large to be a report.
        const QString big = WriteFile("big.txt", QByteArray());
        QVERIFY(QFile::resize(big, static_cast<qint64>(RichTextBox::kMaxLoadBytes) + 1));
        const QString paths[] = {folder_->filePath(QStringLiteral("save")), QStringLiteral("/dev/zero"), big,
                                 folder_->filePath(QStringLiteral("missing.txt"))};
        Box().SetText(QStringLiteral("旧的报告"));
        ReadFrm& w = OpenFromMenu();
        for (const QString& path : paths) {
            dialogs_->files.push_back(path);
            w.Command4->click();
            QVERIFY2(w.isVisible(), qPrintable(path));
            QCOMPARE(Box().Text(), QStringLiteral("旧的报告"));
            QCOMPARE(Input().Text3->toPlainText(), QStringLiteral("  预测:\n"));
        }
    }
};

TL_GUI_TEST(archive_window_test, ArchiveWindowTest);

}  // namespace tl::test

#include "archive_window_test.moc"
