// The rich-text box of the input and help windows: its whole text with CR LF
// line ends, ranges counted in characters with CR LF as two, the colour of a
// range, the text colour, the box font and background, GB18030 and imported
// files, and printing.
#pragma once

#include <QImage>
#include <QString>
#include <QTextEdit>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "settings/settings.h"
#include "text/text_encoding.h"

class QIODevice;
class QPaintDevice;
class QPrinter;
class QTextDocument;

namespace tl {

class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // The whole content with CR LF line ends, user edits included.
    QString Text() const;
    // Replaces everything, in the box's text colour. CR LF, lone LF and lone
    // CR all end a line.
    void SetText(const QString& text);
    // Adds text at the end, keeping the formats of what is there.
    void AppendText(const QString& text);

    // Selects `length` characters from character `start` (from 0) of Text():
    // characters are code points and CR LF counts as two. A range past the
    // end stops at the end.
    void SelectRange(int start, int length);
    // The text colour of the selected characters, 0x00BBGGRR.
    void SetSelColor(quint32 bgr);
    // The text colour, 0x00BBGGRR, of every text set or typed from now on;
    // what the box holds keeps its colours. Black at first.
    void SetTextColor(quint32 bgr);
    quint32 TextColor() const { return textColor_; }
    // The background colour the box shows, 0x00BBGGRR (the system colour
    // as the colour it stands for).
    quint32 BackColor() const;
    // Scrolls to the first line and its start.
    void ShowTop();

    // The font of the whole box and of text set later.
    void SetBoxFont(const FontStyle& font);
    // 0x00BBGGRR, or kSystemWindowColour for the platform's base colour.
    void SetBackColor(quint32 color);

    // Replaces the content by a GB18030 (GBK) text file, shown as plain
    // text. False, with the content unchanged, when the file cannot be read,
    // is not a regular file or is larger than kMaxLoadBytes, too large to be
    // a report.
    static constexpr std::uintmax_t kMaxLoadBytes = 16u << 20;
    // The path is taken as bytes: a folder name need not be UTF-8.
    bool LoadFile(const std::filesystem::path& file);
    bool LoadFile(const QString& path);
    // The same for a file brought in from elsewhere, read as UTF-8 when it
    // is marked or well-formed as such, else as GB18030.
    bool ImportFile(const std::filesystem::path& file);
    // Writes the content followed by `appendix` as plain text with CR LF,
    // in GB18030 or in UTF-8 without a byte-order mark, replacing the file.
    bool SaveFile(const QString& path, const QString& appendix = {},
                  TextEncoding encoding = TextEncoding::Gb18030) const;
    // Prints the content with its fonts and colours, each line of the box
    // as one printed line: the page is turned to landscape or the print
    // made smaller where the longest line would not fit the page, and
    // pages break between lines only. `appendix` is printed after the
    // content, which stays as it is.
    void PrintTo(QPrinter& printer, const QString& appendix = {}) const;

    // The content followed by `appendix`, laid out as printing lays it out
    // (each line one line, the fonts and colours of the box, its background),
    // as pictures to be read on a phone: kPictureWidth pixels wide, the
    // longest line filling the width between the margins, and cut between
    // lines into pictures of at most kPictureHeight pixels, the proportions
    // of a phone screen held upright. Every picture but the last is that
    // tall.
    static constexpr int kPictureWidth = 1440;
    static constexpr int kPictureHeight = 2560;
    static constexpr int kPictureMargin = 48;
    // A short text is not blown up beyond this.
    static constexpr qreal kMaxPictureScale = 3;
    int PictureCount(const QString& appendix) const;
    bool DrawPictures(const QString& appendix, const std::function<bool(int index, const QImage& picture)>& take) const;
    // The same as a PDF document of A4 pages, laid out as printing lays it
    // out, the text selectable and searchable and its fonts embedded; the
    // box's background fills the pages unless it is white. False when the
    // document could not be written.
    bool WritePdf(QIODevice& out, const QString& title, const QString& appendix) const;

    // The background colour the box shows.
    QColor Background() const;

private:
    int PositionOf(int character) const;
    // A copy of the content and `appendix`, laid out for `device`, every
    // line of the box one line.
    std::unique_ptr<QTextDocument> LaidOutCopy(QPaintDevice* device, const QString& appendix) const;

    quint32 textColor_ = 0;
};

// Applies a style to the box in the order the box has always taken it: the
// background, the box font, then the text colour, to all the text it holds
// now and to every text after.
void ApplyStyle(RichTextBox& box, const Settings& settings);

}  // namespace tl
