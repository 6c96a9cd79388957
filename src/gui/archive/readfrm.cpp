#include "gui/archive/readfrm.h"

#include <QFile>
#include <QHBoxLayout>
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
    Command2 = button("Command2", QT_TR_NOOP("删 除(&D)"));
    Command4 = button("Command4", QT_TR_NOOP("导 入(&E)"));
    Command3 = button("Command3", QT_TR_NOOP("返 回(&C)"));

    auto* column = new QVBoxLayout;
    for (QPushButton* b : {Command1, Command2, Command4, Command3}) {
        b->setMinimumSize(100, 32);
        column->addWidget(b);
    }
    column->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addLayout(column);

    connect(Command1, &QPushButton::clicked, this, &ReadFrm::Read);
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { Read(); });
    connect(Command2, &QPushButton::clicked, this, &ReadFrm::Delete);
    connect(Command4, &QPushButton::clicked, this, &ReadFrm::Import);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(860, 420);
    Refresh();
}

QString ReadFrm::ImportFilter() { return QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"); }

void ReadFrm::Refresh() {
    // A reco.dat that cannot be read lists nothing, like a missing one.
    list_ = ListArchive(programFolder_).value_or(ArchiveList{});
    List1->clear();
    for (const ArchiveListEntry& entry : list_) List1->addItem(QString::fromStdString(entry.text));
    List1->setCurrentRow(list_.empty() ? -1 : 0);
}

void ReadFrm::Read() {
    // The empty line after a record, or no line at all, stands for nothing.
    const std::optional<int> position = SelectedPosition(list_, List1->currentRow());
    if (!position) return;
    // A saved text that is missing or cannot be read leaves the box as it
    // is; the window closes all the same.
    target_.LoadReportFile(SavedTextPath(programFolder_, *position));
    target_.ClearExtraText();
    accept();
}

void ReadFrm::Delete() {
    const std::optional<int> position = SelectedPosition(list_, List1->currentRow());
    if (!position) return;
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
