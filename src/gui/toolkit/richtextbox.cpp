#include "text/text_file.h"
#include "gui/toolkit/richtextbox.h"

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPalette>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "archive/store.h"
#include "settings/settings.h"
#include "text/text_encoding.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/fonts.h"

namespace tl {

namespace {

// The document holds one paragraph break where the text has a line end.
QString ToDocumentText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// The file of a path when it can be a report: only a regular file of at
// most `limit` bytes, as a device, a pipe or a huge file would hang or
// exhaust the box.
std::optional<std::filesystem::path> ReportFile(const QString& path, std::uintmax_t limit) {
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > limit) return std::nullopt;
    return file;
}

std::optional<std::string> ReadReportBytes(const QString& path, std::uintmax_t limit) {
    if (!ReportFile(path, limit)) return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.read(static_cast<qint64>(limit) + 1);
    if (f.error() != QFileDevice::NoError || static_cast<std::uintmax_t>(bytes.size()) > limit) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    // The report is laid out in columns: long lines scroll, never wrap.
    setLineWrapMode(QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(false);
}

QString RichTextBox::Text() const {
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void RichTextBox::SetText(const QString& text) {
    setPlainText(ToDocumentText(text));
    // The new text takes the box's text colour, none of the old one.
    QTextCharFormat format;
    format.setForeground(ColorFromBgr(textColor_));
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.setCharFormat(format);
    setCurrentCharFormat(format);
}

void RichTextBox::AppendText(const QString& text) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.insertText(ToDocumentText(text));
}

int RichTextBox::PositionOf(int character) const {
    // Walk the document text: a paragraph break is two characters (CR LF)
    // but one position; a character beyond the basic plane is one character
    // but two positions.
    const QString plain = toPlainText();
    int chars = 0;
    qsizetype pos = 0;
    while (pos < plain.size() && chars < character) {
        const QChar ch = plain.at(pos);
        if (ch == QLatin1Char('\n')) {
            if (chars + 1 == character) return static_cast<int>(pos);  // between CR and LF
            chars += 2;
            pos += 1;
        } else if (ch.isHighSurrogate() && pos + 1 < plain.size() && plain.at(pos + 1).isLowSurrogate()) {
            chars += 1;
            pos += 2;
        } else {
            chars += 1;
            pos += 1;
        }
    }
    return static_cast<int>(pos);
}

void RichTextBox::SelectRange(int start, int length) {
    if (start < 0) start = 0;
    if (length < 0) length = 0;
    QTextCursor c(document());
    c.setPosition(PositionOf(start));
    c.setPosition(PositionOf(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void RichTextBox::SetSelColor(quint32 bgr) {
    QTextCharFormat f;
    f.setForeground(ColorFromBgr(bgr));
    QTextCursor c = textCursor();
    c.mergeCharFormat(f);
    setTextCursor(c);
}

void RichTextBox::SetTextColor(quint32 bgr) { textColor_ = bgr; }

void RichTextBox::ShowTop() {
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void RichTextBox::SetBoxFont(const FontStyle& font) {
    const QFont f = ReportFont(font);
    setFont(f);
    document()->setDefaultFont(f);
}

void RichTextBox::SetBackColor(quint32 color) {
    QPalette p = palette();
    const QColor base =
        color == kSystemWindowColour ? QApplication::palette(this).color(QPalette::Base) : ColorFromBgr(color);
    p.setColor(QPalette::Base, base);
    setPalette(p);
}

bool RichTextBox::ImportFile(const QString& path) {
    const std::optional<std::string> bytes = ReadReportBytes(path, kMaxLoadBytes);
    if (!bytes) return false;
    SetText(QString::fromStdString(DecodeImportedText(*bytes)));
    return true;
}

bool RichTextBox::LoadFile(const QString& path) {
    const std::optional<std::filesystem::path> file = ReportFile(path, kMaxLoadBytes);
    if (!file) return false;
    const std::optional<std::string> utf8 = ReadGbkTextFile(*file);
    if (!utf8) return false;
    SetText(QString::fromStdString(*utf8));
    return true;
}

bool RichTextBox::SaveFile(const QString& path) const {
    return WriteGbkTextFile(QFile::encodeName(path).toStdString(), Text().toStdString());
}

void RichTextBox::PrintTo(QPrinter& printer) const {
    // On paper a line longer than the page wraps onto the next line instead
    // of running off the edge; fonts and colours are those of the box.
    // The text fills the printable area of the page the print dialog chose,
    // at least 12 mm from the paper's edges, laid out at screen resolution
    // and scaled to the printer's.
    std::unique_ptr<QTextDocument> copy(document()->clone());
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    const QRectF page = printer.pageRect(QPrinter::Point);
    const qreal toScreen = logicalDpiX() / 72.0;
    copy->setPageSize(QSizeF(page.width() * toScreen, page.height() * toScreen));
    const QMarginsF paper = printer.pageLayout().margins(QPageLayout::Point);
    constexpr qreal kMinimumMargin = 12 / 25.4 * 72;  // 12 mm in points
    auto extra = [&](qreal margin) { return std::max<qreal>(0, kMinimumMargin - margin) * toScreen; };
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(0);
    frame.setLeftMargin(extra(paper.left()));
    frame.setRightMargin(extra(paper.right()));
    frame.setTopMargin(extra(paper.top()));
    frame.setBottomMargin(extra(paper.bottom()));
    copy->rootFrame()->setFrameFormat(frame);
    copy->print(&printer);
}

void ApplyStyle(RichTextBox& box, const Settings& settings) {
    box.SetBackColor(settings.backgroundColour);
    box.SetBoxFont(settings.font);
    box.SetTextColor(settings.textColour);
    box.SelectRange(0, static_cast<int>(box.Text().size()));
    box.SetSelColor(settings.textColour);
    box.SelectRange(0, 0);
}

}  // namespace tl
