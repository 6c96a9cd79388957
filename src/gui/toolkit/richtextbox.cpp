#include "gui/toolkit/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPalette>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
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

std::unique_ptr<QTextDocument> RichTextBox::LaidOutCopy(QPaintDevice* device, const QString& appendix) const {
    // A copy of the text, with the fonts and colours of the box, laid out
    // for the device without wrapping: every line of the box is one line
    // there, so the columns of the report stay lined up.
    std::unique_ptr<QTextDocument> copy(document()->clone());
    if (!appendix.isEmpty()) {
        QTextCharFormat format;
        format.setForeground(ColorFromBgr(textColor_));
        QTextCursor end(copy.get());
        end.movePosition(QTextCursor::End);
        end.insertText(ToDocumentText(appendix), format);
    }
    copy->documentLayout()->setPaintDevice(device);
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    copy->setDefaultTextOption(option);
    copy->setDocumentMargin(0);
    copy->markContentsDirty(0, copy->characterCount());  // laid out anew, all of it for the device
    return copy;
}

namespace {

// A run of whole lines (one block is one line) from `top` to `bottom` of
// the laid-out document, in its pixels.
struct LineRun {
    qreal top = 0;
    qreal bottom = 0;
    std::vector<QTextBlock> lines;
};

// The document cut into runs of whole lines, each no taller than
// `runHeight`: pages break between lines only.
std::vector<LineRun> LineRuns(const QTextDocument& doc, qreal runHeight) {
    std::vector<LineRun> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() == 0) continue;
        const QRectF lines = layout->lineAt(0).rect().united(layout->lineAt(layout->lineCount() - 1).rect());
        const QRectF line = lines.translated(layout->position());
        if (runs.empty() || line.bottom() - runs.back().top > runHeight) runs.push_back({line.top(), line.top(), {}});
        runs.back().bottom = line.bottom();
        runs.back().lines.push_back(block);
    }
    return runs;
}

// Draws a run with its top left corner at the painter's origin, `scale`
// device pixels to a layout pixel.
void DrawRun(QPainter& painter, const LineRun& run, qreal scale) {
    painter.save();
    painter.scale(scale, scale);
    painter.translate(0, -run.top);
    for (const QTextBlock& block : run.lines) block.layout()->draw(&painter, QPointF());
    painter.restore();
}

// Paints a laid-out document on the pages of a printer or a PDF file, at
// `dpi`: where the longest line does not fit the width of the page,
// landscape is taken when it prints larger, and the text is made smaller
// until that line fits. The orientation chosen before is given back after.
// `background`, when valid, fills every page; text without a colour of its
// own is drawn in `ink`.
bool PaintPages(const QTextDocument& doc, QPagedPaintDevice& device, int dpi, const QColor& ink,
                const QColor& background) {
    const qreal longest = doc.idealWidth();
    const QPageLayout chosen = device.pageLayout();
    QPageLayout turned = chosen;
    turned.setOrientation(QPageLayout::Landscape);
    if (FitScale(turned, dpi, longest) > FitScale(chosen, dpi, longest))
        device.setPageOrientation(QPageLayout::Landscape);
    const QPageLayout page = device.pageLayout();
    const qreal scale = FitScale(page, dpi, longest);
    const QPointF paintOrigin = QRectF(page.paintRectPixels(dpi)).topLeft();
    const QRectF area = PrintArea(page, dpi).translated(-paintOrigin);
    const QRectF paper = QRectF(page.fullRectPixels(dpi)).translated(-paintOrigin);
    const std::vector<LineRun> pages = LineRuns(doc, area.height() / scale);

    QPainter painter;
    if (!painter.begin(&device)) {
        device.setPageLayout(chosen);
        return false;
    }
    painter.setPen(ink);
    for (std::size_t n = 0; n < pages.size(); ++n) {
        if (n > 0) device.newPage();
        if (background.isValid()) painter.fillRect(paper, background);
        painter.save();
        painter.translate(area.topLeft());
        DrawRun(painter, pages[n], scale);
        painter.restore();
    }
    const bool done = painter.end();
    device.setPageLayout(chosen);
    return done;
}

}  // namespace

void RichTextBox::PrintTo(QPrinter& printer, const QString& appendix) const {
    const std::unique_ptr<QTextDocument> copy = LaidOutCopy(&printer, appendix);
    PaintPages(*copy, printer, printer.resolution(), Qt::black, QColor());
}

QColor RichTextBox::Background() const { return palette().color(QPalette::Base); }

namespace {

constexpr int kLayoutDpi = 96;

// The picture layout: the copy laid out at 96 dots per inch whatever the
// screen, the scale at which its longest line fills the width of a
// picture, and its lines cut into the runs of one picture each.
struct PictureLayout {
    QImage probe{1, 1, QImage::Format_RGB32};
    std::unique_ptr<QTextDocument> copy;
    qreal scale = 1;
    std::vector<LineRun> runs;
};

std::unique_ptr<PictureLayout> LayOutPictures(
    const std::function<std::unique_ptr<QTextDocument>(QPaintDevice*)>& layOut) {
    auto layout = std::make_unique<PictureLayout>();
    layout->probe.setDotsPerMeterX(qRound(kLayoutDpi / 0.0254));
    layout->probe.setDotsPerMeterY(qRound(kLayoutDpi / 0.0254));
    layout->copy = layOut(&layout->probe);
    const qreal longest = std::max<qreal>(1, layout->copy->idealWidth());
    const qreal inner = RichTextBox::kPictureWidth - 2 * RichTextBox::kPictureMargin;
    layout->scale = std::min(RichTextBox::kMaxPictureScale, inner / longest);
    layout->runs = LineRuns(*layout->copy,
                            (RichTextBox::kPictureHeight - 2 * RichTextBox::kPictureMargin) / layout->scale);
    return layout;
}

}  // namespace

int RichTextBox::PictureCount(const QString& appendix) const {
    return static_cast<int>(
        LayOutPictures([&](QPaintDevice* device) { return LaidOutCopy(device, appendix); })->runs.size());
}

bool RichTextBox::DrawPictures(const QString& appendix,
                               const std::function<bool(int index, const QImage& picture)>& take) const {
    const std::unique_ptr<PictureLayout> layout =
        LayOutPictures([&](QPaintDevice* device) { return LaidOutCopy(device, appendix); });
    const std::vector<LineRun>& runs = layout->runs;
    const qreal scale = layout->scale;
    // One picture at a time: a long text makes many.
    for (std::size_t n = 0; n < runs.size(); ++n) {
        // Every picture but the last is a whole screen tall; the last ends
        // with its text.
        const int height =
            n + 1 < runs.size()
                ? kPictureHeight
                : std::min(kPictureHeight,
                           static_cast<int>(std::ceil((runs[n].bottom - runs[n].top) * scale)) + 2 * kPictureMargin);
        QImage picture(kPictureWidth, height, QImage::Format_RGB32);
        picture.setDotsPerMeterX(qRound(kLayoutDpi * scale / 0.0254));
        picture.setDotsPerMeterY(qRound(kLayoutDpi * scale / 0.0254));
        picture.fill(Background());
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(ColorFromBgr(textColor_));
        painter.translate(kPictureMargin, kPictureMargin);
        DrawRun(painter, runs[n], scale);
        painter.end();
        if (!take(static_cast<int>(n), picture)) return false;
    }
    return true;
}

bool RichTextBox::WritePdf(QIODevice& out, const QString& title, const QString& appendix) const {
    // Qt's PDF writer keeps the text as text, with a subset of every font
    // used embedded, so that the file can be searched and copied from.
    QPdfWriter pdf(&out);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("腾岚八字排盘系统"));
    const std::unique_ptr<QTextDocument> copy = LaidOutCopy(&pdf, appendix);
    // The page takes the box's background unless that is white paper.
    const QColor background = Background();
    return PaintPages(*copy, pdf, pdf.resolution(), ColorFromBgr(textColor_),
                      background == QColor(Qt::white) ? QColor() : background);
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
