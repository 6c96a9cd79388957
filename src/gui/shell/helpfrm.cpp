#include "gui/shell/helpfrm.h"

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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichTextBox1);
    // A missing or unreadable manual leaves the text above.
    // The manual is written in simplified characters and shown in the
    // windows' script.
    if (RichTextBox1->LoadFile(manualFolder / "help.txt") && DisplayScript() != Script::kHans)
        RichTextBox1->SetText(Shown(RichTextBox1->Text()));
}

}  // namespace tl
