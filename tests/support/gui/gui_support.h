// Helpers shared by the GUI tests.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <filesystem>
#include <vector>

namespace tl::test {

inline std::filesystem::path PathOf(const QTemporaryDir& dir) {
    return std::filesystem::path(dir.path().toStdString());
}

inline QDateTime At(int y, int mo, int d, int h, int mi) { return QDateTime(QDate(y, mo, d), QTime(h, mi)); }

// The text colour of every character of a document's text with CR LF line
// ends (a line end's two characters get an invalid colour).
inline std::vector<QColor> CharacterColors(const QTextDocument& doc) {
    std::vector<QColor> colors;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QColor c = f.charFormat().hasProperty(QTextFormat::ForegroundBrush)
                                 ? f.charFormat().foreground().color()
                                 : QColor(Qt::black);
            for (qsizetype i = 0; i < f.text().size(); ++i) colors.push_back(c);
        }
        if (block.next().isValid()) {
            colors.push_back(QColor());
            colors.push_back(QColor());
        }
    }
    return colors;
}

}  // namespace tl::test
