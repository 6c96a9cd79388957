#include "gui/settings/systemfrm.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/richtextbox.h"

namespace tl {

namespace {

void ColourAllText(RichTextBox& box, quint32 colour) {
    box.SelectRange(0, static_cast<int>(box.Text().size()));
    box.SetSelColor(colour);
    box.SelectRange(0, 0);
}

}  // namespace

SystemFrm::SystemFrm(std::filesystem::path programFolder, Dialogs& dialogs, RichTextBox& box, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      programFolder_(std::move(programFolder)),
      dialogs_(dialogs),
      box_(box) {
    setObjectName(QStringLiteral("systemfrm"));
    setWindowTitle(tr("系统设置"));
    auto* layout = new QVBoxLayout(this);
    auto button = [this, layout](const char* name, const char* caption) {
        auto* b = new QPushButton(tr(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        layout->addWidget(b);
        return b;
    };
    Command1 = button("Command1", QT_TR_NOOP("设置文本字体..."));
    Command2 = button("Command2", QT_TR_NOOP("设置文本背景色..."));
    Command4 = button("Command4", QT_TR_NOOP("还原默认设置"));
    Command3 = button("Command3", QT_TR_NOOP("返 回"));
    connect(Command1, &QPushButton::clicked, this, &SystemFrm::ChooseFont);
    connect(Command2, &QPushButton::clicked, this, &SystemFrm::ChooseBackground);
    connect(Command4, &QPushButton::clicked, this, &SystemFrm::RestoreDefaults);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(240, 200);
}

void SystemFrm::ChooseFont() {
    // The dialog starts from the style the file holds now, or the defaults.
    const Settings stored = StoredSettings(programFolder_);
    FontStyle font = stored.font;
    quint32 colour = stored.textColour;
    if (!dialogs_.ChooseFont(this, font, colour)) return;
    // The colour is that of the text in the box and of every text after.
    box_.SetBoxFont(font);
    box_.SetTextColor(colour);
    ColourAllText(box_, colour);
    // A failure to write keeps what the box shows; nothing is reported.
    StoreFontChoice(programFolder_, font, colour);
}

void SystemFrm::ChooseBackground() {
    const std::optional<quint32> chosen = dialogs_.ChooseColor(this, lastColour_);
    if (!chosen) return;
    lastColour_ = *chosen;
    box_.SetBackColor(*chosen);
    StoreBackgroundChoice(programFolder_, *chosen);
}

void SystemFrm::RestoreDefaults() {
    ApplyStyle(box_, DefaultSettings());
    StoreDefaults(programFolder_);
}

}  // namespace tl
