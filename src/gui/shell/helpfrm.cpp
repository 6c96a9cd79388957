#include "gui/shell/helpfrm.h"

#include <QVBoxLayout>

#include "gui/toolkit/richtextbox.h"

namespace tl {

HelpFrm::HelpFrm(const std::filesystem::path& manualFolder, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpfrm"));
    setWindowTitle(QStringLiteral("腾岚八字排盘系统[帮助]"));
    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichTextBox1->setReadOnly(true);
    RichTextBox1->SetBoxFont({.name = "宋体", .pointSize = 12});
    RichTextBox1->SetText(QStringLiteral("帮助文件丢失!"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichTextBox1);
    // A missing or unreadable manual leaves the text above.
    RichTextBox1->LoadFile(manualFolder / "help.txt");
}

}  // namespace tl
