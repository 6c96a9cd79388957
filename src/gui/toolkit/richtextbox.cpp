#include "gui/toolkit/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "archive/store.h"
#include "settings/settings.h"
#include "files/file_io.h"
#include "text/text_encoding.h"
#include "text/text_file.h"
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
// Only a regular file of at most `limit` bytes is a report: a device, a
// pipe or a huge file would hang or exhaust the box.
bool ReportFile(const std::filesystem::path& file, std::uintmax_t limit) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    return !ec && size <= limit;
}

std::optional<std::string> ReadReportBytes(const std::filesystem::path& file, std::uintmax_t limit) {
    if (!ReportFile(file, limit)) return std::nullopt;
    return ReadRegularFile(file, limit);
}

// Where the text may be printed on a page, in the printer's pixels from the
// paper's corner: the printable area, at least 12 mm from the edges.
QRectF PrintArea(const QPageLayout& layout, int dpi) {
    const QRectF paper = layout.fullRectPixels(dpi);
    const qreal margin = 12 / 25.4 * dpi;
    return QRectF(layout.paintRectPixels(dpi)) & paper.adjusted(margin, margin, -margin, -margin);
}

// The scale at which a line `width` pixels long fits the print area.
qreal FitScale(const QPageLayout& layout, int dpi, qreal width) {
    return width <= 0 ? 1 : std::min<qreal>(1, PrintArea(layout, dpi).width() / width);
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

quint32 RichTextBox::BackColor() const { return BgrFromColor(palette().color(QPalette::Base)); }

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

bool RichTextBox::ImportFile(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadReportBytes(file, kMaxLoadBytes);
    if (!bytes) return false;
    SetText(QString::fromStdString(DecodeImportedText(*bytes)));
    return true;
}

bool RichTextBox::LoadFile(const QString& path) {
    return LoadFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

bool RichTextBox::LoadFile(const std::filesystem::path& file) {
    if (!ReportFile(file, kMaxLoadBytes)) return false;
    const std::optional<std::string> utf8 = ReadGbkTextFile(file);
    if (!utf8) return false;
    SetText(QString::fromStdString(*utf8));
    return true;
}

bool RichTextBox::SaveFile(const QString& path, const QString& appendix, TextEncoding encoding) const {
    const std::string file = QFile::encodeName(path).toStdString();
    const std::string text = (Text() + appendix).toStdString();
    return encoding == TextEncoding::Utf8 ? WriteUtf8TextFile(file, text) : WriteGbkTextFile(file, text);
}

void RichTextBox::PrintTo(QPrinter& printer, const QString& appendix) const {
    // A copy of the text, with the fonts and colours of the box, laid out
    // for the printer without wrapping: every line of the box is one line
    // on paper, so the columns of the report stay lined up.
    std::unique_ptr<QTextDocument> copy(document()->clone());
    if (!appendix.isEmpty()) {
        QTextCursor end(copy.get());
        end.movePosition(QTextCursor::End);
        end.insertText(ToDocumentText(appendix));
    }
    copy->documentLayout()->setPaintDevice(&printer);
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    copy->setDefaultTextOption(option);
    copy->setDocumentMargin(0);
    copy->markContentsDirty(0, copy->characterCount());  // laid out anew, all of it for the printer
    const int dpi = printer.resolution();
    const qreal longest = copy->idealWidth();

    // Where the longest line does not fit the width of the page, landscape
    // is taken when it prints larger, and the text is made smaller until
    // that line fits. The orientation the user chose is given back after.
    const QPageLayout chosen = printer.pageLayout();
    QPageLayout turned = chosen;
    turned.setOrientation(QPageLayout::Landscape);
    if (FitScale(turned, dpi, longest) > FitScale(chosen, dpi, longest))
        printer.setPageOrientation(QPageLayout::Landscape);
    const QPageLayout page = printer.pageLayout();
    const qreal scale = FitScale(page, dpi, longest);
    const QRectF area = PrintArea(page, dpi).translated(-QRectF(page.paintRectPixels(dpi)).topLeft());
    const qreal pageHeight = area.height() / scale;  // in layout pixels

    // The pages: runs of whole lines (one block is one line), each run no
    // taller than a page.
    struct Page {
        qreal top;
        std::vector<QTextBlock> lines;
    };
    std::vector<Page> pages;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() == 0) continue;
        const QRectF lines = layout->lineAt(0).rect().united(layout->lineAt(layout->lineCount() - 1).rect());
        const QRectF line = lines.translated(layout->position());
        if (pages.empty() || line.bottom() - pages.back().top > pageHeight) pages.push_back({line.top(), {}});
        pages.back().lines.push_back(block);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        printer.setPageLayout(chosen);
        return;
    }
    painter.setPen(Qt::black);  // text without a colour of its own
    for (std::size_t n = 0; n < pages.size(); ++n) {
        if (n > 0) printer.newPage();
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(scale, scale);
        painter.translate(0, -pages[n].top);
        for (const QTextBlock& block : pages[n].lines) block.layout()->draw(&painter, QPointF());
        painter.restore();
    }
    painter.end();
    printer.setPageLayout(chosen);
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
