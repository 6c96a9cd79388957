#include "gui/archive/readfrm.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

#include "archive/store.h"
#include "gui/toolkit/window_text.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/fonts.h"
#include "gui/toolkit/report_target.h"
#include "gui/toolkit/richtextbox.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::ReadFrm";

ReadFrm::ReadFrm(std::filesystem::path programFolder, Dialogs& dialogs, ReportTarget& target, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      programFolder_(std::move(programFolder)),
      dialogs_(dialogs),
      target_(target) {
    setObjectName(QStringLiteral("readfrm"));
    WithTitle(this, kTr, QT_TR_NOOP("读取记录"));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setPlaceholderText(QStringLiteral("姓名、姓名的一部分或出生年份"));
    Text1->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(QStringLiteral("查找(&F):"), this);
    searchLabel->setBuddy(Text1);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    // The lines are laid out in counted characters: the report's
    // fixed-width face keeps the columns.
    List1->setFont(ReportFont(QStringLiteral("宋体"), 10.5));
    QPalette p = List1->palette();
    p.setColor(QPalette::Base, QColor(192, 255, 255));  // light blue
    List1->setPalette(p);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto button = [this](const char* name, const char* caption) {
        auto* b = WithText(new QPushButton(this), kTr, caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    Command1 = button("Command1", QT_TR_NOOP("读 取(&R)"));
    Command5 = button("Command5", QT_TR_NOOP("重新排盘(&A)"));
    Command2 = button("Command2", QT_TR_NOOP("删 除(&D)"));
    Command4 = button("Command4", QT_TR_NOOP("导 入(&E)"));
    Command3 = button("Command3", QT_TR_NOOP("返 回(&C)"));

    auto* column = new QVBoxLayout;
    for (QPushButton* b : {Command1, Command5, Command2, Command4, Command3}) {
        b->setMinimumSize(100, 32);
        column->addWidget(b);
    }
    column->addStretch(1);
    auto* search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(Text1, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(search);
    left->addWidget(List1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(column);

    connect(Command1, &QPushButton::clicked, this, &ReadFrm::Read);
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { Read(); });
    connect(Command5, &QPushButton::clicked, this, &ReadFrm::Rechart);
    connect(Text1, &QLineEdit::textChanged, this, &ReadFrm::ShowList);
    connect(Command2, &QPushButton::clicked, this, &ReadFrm::Delete);
    connect(Command4, &QPushButton::clicked, this, &ReadFrm::Import);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(980, 440);
    Refresh();
}

QString ReadFrm::ImportFilter() { return QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"); }

void ReadFrm::Refresh() {
    // A reco.dat that cannot be read lists nothing, like a missing one.
    records_ = ReadRecords(programFolder_).value_or(std::vector<ChartRecord>{});
    ShowList();
}

void ReadFrm::ShowList() {
    list_ = BuildArchiveList(records_, Text1->text().toStdString());
    List1->clear();
    for (const ArchiveListEntry& entry : list_) List1->addItem(QString::fromStdString(entry.text));
    List1->setCurrentRow(list_.empty() ? -1 : 0);
}

std::optional<int> ReadFrm::SelectedRecordPosition() const {
    // The empty line after a record, or no line at all, stands for nothing.
    const std::optional<int> position = SelectedPosition(list_, List1->currentRow());
    if (!position || *position > static_cast<int>(records_.size())) return std::nullopt;
    return position;
}

void ReadFrm::Read() {
    const std::optional<int> position = SelectedRecordPosition();
    if (!position) return;
    // A saved text that is missing or cannot be read leaves the box as it
    // is; the window closes all the same.
    target_.LoadReportFile(SavedTextPath(programFolder_, *position), records_[static_cast<std::size_t>(*position - 1)]);
    target_.ClearExtraText();
    accept();
}

void ReadFrm::Rechart() {
    const std::optional<int> position = SelectedRecordPosition();
    if (!position) return;
    const ChartRecord record = records_[static_cast<std::size_t>(*position - 1)];
    accept();
    target_.Rechart(record);
}

void ReadFrm::Delete() {
    const std::optional<int> position = SelectedRecordPosition();
    if (!position) return;
    // A client is not removed on one click: the question names the record.
    const QString question = QStringLiteral("确定删除这条记录吗?\n\n") +
                             QString::fromStdString(RecordSummary(records_[static_cast<std::size_t>(*position - 1)]));
    if (dialogs_.Message(this, question, QStringLiteral("提示"), MessageIcon::Question, MessageButtons::OkCancel) ==
        MessageResult::Cancel)
        return;
    const bool deleted = MarkDeleted(programFolder_, *position);
    Refresh();
    // Success is reported only when the record was really marked.
    if (deleted)
        dialogs_.Message(this, tr("成功删除该记录!"), tr("提示"), MessageIcon::Information,
                         MessageButtons::Ok);
}

void ReadFrm::Import() {
    const std::optional<QString> path =
        dialogs_.OpenFileName(this, tr("打开"), ImportFilter(), kImportFilterIndex);
    if (!path || path->isEmpty()) return;
    // A file that cannot be loaded ends the command with nothing changed
    // and the window still open.
    if (!target_.ImportReportFile(std::filesystem::path(QFile::encodeName(*path).toStdString()))) return;
    target_.ClearExtraText();
    accept();
}

}  // namespace tl
