#include "gui/settings/systemfrm.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

#include "gui/toolkit/dialogs.h"
#include "settings/program_settings.h"
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
    setWindowTitle(QStringLiteral("系统设置"));
    auto* layout = new QVBoxLayout(this);
    auto button = [this, layout](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        layout->addWidget(b);
        return b;
    };
    Command1 = button("Command1", "设置文本字体...");
    Command2 = button("Command2", "设置文本背景色...");
    Command4 = button("Command4", "还原默认设置");
    Command3 = button("Command3", "返 回");
    connect(Command1, &QPushButton::clicked, this, &SystemFrm::ChooseFont);
    connect(Command2, &QPushButton::clicked, this, &SystemFrm::ChooseBackground);
    connect(Command4, &QPushButton::clicked, this, &SystemFrm::RestoreDefaults);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(240, 200);
}

void SystemFrm::ChooseFont() {
    // The dialog starts from the font the file holds now (its full name), or
    // the defaults, and from the text colour of the box: OK at once changes
    // nothing.
    const Settings stored = WithFullFontName(StoredSettings(programFolder_), programFolder_);
    FontStyle font = stored.font;
    quint32 colour = box_.TextColor();
    if (!dialogs_.ChooseFont(this, font, colour)) return;
    // The colour is that of the text in the box and of every text after.
    box_.SetBoxFont(font);
    box_.SetTextColor(colour);
    ColourAllText(box_, colour);
    // A failure to write keeps what the box shows; nothing is reported.
    // shezhi.ini keeps 10 bytes of the name; the whole name is kept beside.
    StoreFontChoice(programFolder_, font, colour);
    StoreFullFontName(programFolder_, font.name);
}

void SystemFrm::ChooseBackground() {
    // The dialog starts from the colour the box shows, so that Enter keeps
    // it.
    const std::optional<quint32> chosen = dialogs_.ChooseColor(this, box_.BackColor());
    if (!chosen) return;
    box_.SetBackColor(*chosen);
    StoreBackgroundChoice(programFolder_, *chosen);
}

void SystemFrm::RestoreDefaults() {
    ApplyStyle(box_, DefaultSettings());
    StoreDefaults(programFolder_);
}

}  // namespace tl
