#include "gui/toolkit/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <optional>
#include <tuple>

namespace tl {

QStringList ReportFaces() {
    return {QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Zen Hei Mono")};
}

namespace {

// Maps `name` to the report faces unless the system has it or it is mapped
// already.
void SubstituteWhenMissing(const QString& name) {
    if (name.isEmpty() || ReportFaces().contains(name)) return;
    if (!QFont::substitutes(name).isEmpty()) return;
    if (QFontDatabase::hasFamily(name)) return;
    QFont::insertSubstitutions(name, ReportFaces());
}

// A family in which a Chinese character is exactly two spaces wide.
bool HasTwoColumnChinese(const QString& family) {
    QFont font(family);
    font.setPointSizeF(12);
    if (QFontInfo(font).family().compare(family, Qt::CaseInsensitive) != 0) return false;
    const QFontMetricsF m(font);
    return m.horizontalAdvance(QStringLiteral("甲")) == 2 * m.horizontalAdvance(QLatin1Char(' '));
}

}  // namespace

QString InstalledFamily(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || QFontDatabase::hasFamily(name)) return name;
    // Ranked by: two columns first, then a fixed-pitch family (the report
    // is laid out in columns: "DejaVu San" is DejaVu Sans Mono rather than
    // DejaVu Sans), then a report face, then the shortest name, then the
    // alphabet.
    const QStringList faces = ReportFaces();
    std::optional<std::tuple<bool, bool, qsizetype, qsizetype, QString>> best;
    for (const QString& family : QFontDatabase::families()) {
        if (!family.startsWith(trimmed, Qt::CaseInsensitive)) continue;
        const qsizetype face = faces.indexOf(family);
        auto rank = std::make_tuple(!HasTwoColumnChinese(family), !QFontDatabase::isFixedPitch(family),
                                    face < 0 ? faces.size() : face, family.size(), family);
        if (!best || rank < *best) best = std::move(rank);
    }
    return best ? std::get<QString>(*best) : name;
}

void InstallFontSubstitutes() {
    // The fonts of the report box, the windows and the saved settings of a
    // Chinese Windows desktop.
    const char* names[] = {"宋体", "新宋体", "SimSun", "NSimSun", "楷体_GB2312", "楷体", "仿宋_GB2312", "仿宋",
                           "黑体", "隶书", "幼圆", "Times New Roman", "Courier New", "Arial", "MS Sans Serif"};
    for (const char* n : names) SubstituteWhenMissing(QString::fromUtf8(n));
}

QFont ReportFont(const QString& name, double pointSize) {
    const QString family = InstalledFamily(name);
    SubstituteWhenMissing(family);
    QFont font(family);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    return font;
}

QFont ReportFont(const FontStyle& style) {
    QFont font = ReportFont(QString::fromStdString(style.name), style.pointSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikethrough);
    return font;
}

FontStyle StyleOf(const QFont& font) {
    return {font.family().toStdString(), font.pointSizeF(), font.bold(), font.strikeOut(), font.italic(),
            font.underline()};
}

}  // namespace tl
