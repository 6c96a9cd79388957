#include "gui/shell/helpfrm.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/toolkit/window_text.h"
#include "gui/toolkit/richtextbox.h"
#include "gui/toolkit/script_display.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::HelpFrm";

HelpFrm::HelpFrm(const std::filesystem::path& manualFolder, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpfrm"));
    WithTitle(this, kTr, QT_TR_NOOP("腾岚八字排盘系统[帮助]"));
    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichTextBox1->setReadOnly(true);
    RichTextBox1->SetBoxFont({.name = "宋体", .pointSize = 12});
    RichTextBox1->SetText(tr("帮助文件丢失!"));
    Command1 = new QPushButton(tr("关闭(&C)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the window wherever the focus is inside it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 6);
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichTextBox1);
    layout->addLayout(buttons);
    // A missing or unreadable manual leaves the text above.
    // The manual is written in simplified characters and shown in the
    // windows' script.
    if (RichTextBox1->LoadFile(manualFolder / "help.txt") && DisplayScript() != Script::kHans)
        RichTextBox1->SetText(Shown(RichTextBox1->Text()));
}

}  // namespace tl
