#include "gui/toolkit/dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/toolkit/fonts.h"

namespace tl {

QColor ColorFromBgr(quint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

quint32 BgrFromColor(const QColor& color) {
    return static_cast<quint32>(color.red()) | static_cast<quint32>(color.green()) << 8 |
           static_cast<quint32>(color.blue()) << 16;
}

namespace {

// "All Files (*.*)|*.*|Text Files (*.txt)|*.txt" as the name filters of a
// Qt file dialog. "*.*" means every file here, also one without a dot.
QStringList NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.lastIndexOf(QLatin1Char('('));
        if (paren > 0) description = description.left(paren).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

// `encoding`, when given, is offered as a list under the file type: the
// encoding the file is to be written in.
std::optional<QString> FileDialog(QWidget* parent, const QString& title, const QString& filter, int filterIndex,
                                  QFileDialog::AcceptMode mode, TextEncoding* encoding = nullptr,
                                  const QString& suggested = {}) {
    QFileDialog dialog(parent, title);
    QComboBox* encodings = nullptr;
    if (encoding) {
        // The platform's own dialog takes no list of ours.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            encodings = new QComboBox(&dialog);
            encodings->addItem(QStringLiteral("GB18030 (GBK)"), static_cast<int>(TextEncoding::Gb18030));
            encodings->addItem(QStringLiteral("UTF-8"), static_cast<int>(TextEncoding::Utf8));
            encodings->setCurrentIndex(*encoding == TextEncoding::Utf8 ? 1 : 0);
            auto* label = new QLabel(QCoreApplication::translate("tl::Dialogs", "编码(&E):"), &dialog);
            label->setBuddy(encodings);
            const int row = grid->rowCount();
            grid->addWidget(label, row, 0);
            grid->addWidget(encodings, row, 1);
        }
    }
    if (!suggested.isEmpty()) {
        const QFileInfo start(suggested);
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The caller asks about an existing file itself; no extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = NameFilters(filter);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size()) dialog.selectNameFilter(filters[filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) return std::nullopt;
    if (encoding && encodings) *encoding = static_cast<TextEncoding>(encodings->currentData().toInt());
    return path;
}

// The sixteen colours the text colour can take in the font dialog.
struct NamedColor {
    const char* name;
    quint32 bgr;
};
constexpr NamedColor kFontColors[] = {
    {QT_TRANSLATE_NOOP("tl::Dialogs", "黑色"), 0x000000}, {QT_TRANSLATE_NOOP("tl::Dialogs", "褐红"), 0x000080},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "绿色"), 0x008000}, {QT_TRANSLATE_NOOP("tl::Dialogs", "橄榄"), 0x008080},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "藏青"), 0x800000}, {QT_TRANSLATE_NOOP("tl::Dialogs", "紫色"), 0x800080},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "深青"), 0x808000}, {QT_TRANSLATE_NOOP("tl::Dialogs", "灰色"), 0x808080},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "银色"), 0xC0C0C0}, {QT_TRANSLATE_NOOP("tl::Dialogs", "红色"), 0x0000FF},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "酸橙"), 0x00FF00}, {QT_TRANSLATE_NOOP("tl::Dialogs", "黄色"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "蓝色"), 0xFF0000}, {QT_TRANSLATE_NOOP("tl::Dialogs", "紫红"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("tl::Dialogs", "水绿"), 0xFFFF00}, {QT_TRANSLATE_NOOP("tl::Dialogs", "白色"), 0xFFFFFF},
};

}  // namespace

MessageResult QtDialogs::Message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                                 MessageButtons buttons) {
    QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Information, title, text,
                    QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(buttons == MessageButtons::RetryCancel
                                             ? QCoreApplication::translate("tl::Dialogs", "重试")
                                             : QCoreApplication::translate("tl::Dialogs", "确定"));
    if (buttons != MessageButtons::Ok) {
        box.addButton(QMessageBox::Cancel)->setText(QCoreApplication::translate("tl::Dialogs", "取消"));
        box.setEscapeButton(QMessageBox::Cancel);
    }
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                               int filterIndex) {
    return FileDialog(parent, title, filter, filterIndex, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                               int filterIndex) {
    return FileDialog(parent, title, filter, filterIndex, QFileDialog::AcceptOpen);
}

std::optional<SaveTarget> Dialogs::SaveTextFileName(QWidget* parent, const QString& title, const QString& filter,
                                                    int filterIndex) {
    const std::optional<QString> path = SaveFileName(parent, title, filter, filterIndex);
    if (!path) return std::nullopt;
    return SaveTarget{*path, TextEncoding::Gb18030};
}

std::optional<SaveTarget> QtDialogs::SaveTextFileName(QWidget* parent, const QString& title, const QString& filter,
                                                      int filterIndex) {
    TextEncoding encoding = TextEncoding::Gb18030;
    const std::optional<QString> path =
        FileDialog(parent, title, filter, filterIndex, QFileDialog::AcceptSave, &encoding);
    if (!path) return std::nullopt;
    return SaveTarget{*path, encoding};
}

std::optional<QString> QtDialogs::ExportFileName(QWidget* parent, const QString& title, const QString& filter,
                                                 const QString& suggested) {
    return FileDialog(parent, title, filter, 1, QFileDialog::AcceptSave, nullptr, suggested);
}

bool QtDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::ChooseFont(QWidget* parent, FontStyle& font, quint32& colour) {
    // The platform font dialog knows no text colour: it is embedded with a
    // colour list beside its effects.
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("tl::Dialogs", "字体"));
    auto* fonts = new QFontDialog(&dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setCurrentFont(ReportFont(font));

    auto* colors = new QComboBox(&dialog);
    int startIndex = -1;
    for (const NamedColor& c : kFontColors) {
        QPixmap swatch(16, 16);
        swatch.fill(ColorFromBgr(c.bgr));
        colors->addItem(QIcon(swatch), QCoreApplication::translate("tl::Dialogs", c.name), c.bgr);
        if (c.bgr == (colour & 0xFFFFFF)) startIndex = colors->count() - 1;
    }
    // A colour that is none of the sixteen stays the choice until another
    // is picked: Enter keeps the text as it is.
    if (startIndex < 0 && colour <= 0xFFFFFF) {
        QPixmap swatch(16, 16);
        swatch.fill(ColorFromBgr(colour));
        colors->addItem(QIcon(swatch), QStringLiteral("当前颜色"), colour);
        startIndex = colors->count() - 1;
    }
    colors->setCurrentIndex(std::max(startIndex, 0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("tl::Dialogs", "确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("tl::Dialogs", "取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // The embedded font dialog is a dialog of its own: Escape closes it
    // alone, which would leave an emptied frame whose OK still applies a
    // font. Its own close closes the whole choice instead.
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);
    QObject::connect(fonts, &QDialog::accepted, &dialog, &QDialog::accept);

    auto* colorRow = new QHBoxLayout;
    auto* colorLabel = new QLabel(QCoreApplication::translate("tl::Dialogs", "颜色(&C):"), &dialog);
    colorLabel->setBuddy(colors);  // Alt+C goes to the list; the "&" marks the key, not a character
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colors);
    colorRow->addStretch();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) return false;
    font = StyleOf(fonts->currentFont());
    colour = colors->currentData().toUInt();
    return true;
}

std::optional<quint32> QtDialogs::ChooseColor(QWidget* parent, quint32 start) {
    const QColor color = QColorDialog::getColor(ColorFromBgr(start), parent);
    if (!color.isValid()) return std::nullopt;
    return BgrFromColor(color);
}

}  // namespace tl
