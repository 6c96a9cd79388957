#include "gui/settings/systemfrm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

#include "gui/toolkit/window_text.h"
#include "gui/toolkit/dialogs.h"
#include "settings/program_settings.h"
#include "settings/script_choice.h"
#include "gui/toolkit/richtextbox.h"
#include "gui/toolkit/script_display.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::SystemFrm";

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
    WithTitle(this, kTr, QT_TR_NOOP("系统设置"));
    auto* layout = new QVBoxLayout(this);
    auto button = [this, layout](const char* name, const char* caption) {
        auto* b = WithText(new QPushButton(this), kTr, caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(32);
        layout->addWidget(b);
        return b;
    };
    Command1 = button("Command1", QT_TR_NOOP("设置文本字体..."));
    Command2 = button("Command2", QT_TR_NOOP("设置文本背景色..."));
    Command4 = button("Command4", QT_TR_NOOP("还原默认设置"));
    auto* scripts = WithText(new QGroupBox(this), kTr, QT_TR_NOOP("简体 / 繁體"));
    scripts->setObjectName(QStringLiteral("Frame1"));
    WithTip(scripts, kTr, QT_TR_NOOP("窗口文字立即改变;报告框中已有的报告不变,此后的报告、导出和万年历用所选文字"));
    auto* scriptRow = new QHBoxLayout(scripts);
    Option1 = WithText(new QRadioButton(scripts), kTr, QT_TR_NOOP("简体"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = WithText(new QRadioButton(scripts), kTr, QT_TR_NOOP("繁體"));
    Option2->setObjectName(QStringLiteral("Option2"));
    scriptRow->addWidget(Option1);
    scriptRow->addWidget(Option2);
    (DisplayScript() == Script::kHant ? Option2 : Option1)->setChecked(true);
    layout->addWidget(scripts);
    Command3 = button("Command3", QT_TR_NOOP("返 回"));
    connect(Command1, &QPushButton::clicked, this, &SystemFrm::ChooseFont);
    connect(Command2, &QPushButton::clicked, this, &SystemFrm::ChooseBackground);
    connect(Command4, &QPushButton::clicked, this, &SystemFrm::RestoreDefaults);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Option1, &QRadioButton::clicked, this, [this] { ChooseScript(Script::kHans); });
    connect(Option2, &QRadioButton::clicked, this, [this] { ChooseScript(Script::kHant); });
    setFixedSize(240, 260);
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

void SystemFrm::ChooseScript(Script script) {
    // Where the file cannot be written the choice holds until the program
    // ends; like the style record, nothing is reported.
    StoreScript(programFolder_, script);
    SetDisplayScript(script);
}

void SystemFrm::RestoreDefaults() {
    ApplyStyle(box_, DefaultSettings());
    StoreDefaults(programFolder_);
}

}  // namespace tl
