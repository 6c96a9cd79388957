#include "gui/toolkit/fonts.h"

#include <QFontDatabase>
#include <QStringList>

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

}  // namespace

void InstallFontSubstitutes() {
    // The fonts of the report box, the windows and the saved settings of a
    // Chinese Windows desktop.
    const char* names[] = {"宋体", "新宋体", "SimSun", "NSimSun", "楷体_GB2312", "楷体", "仿宋_GB2312", "仿宋",
                           "黑体", "隶书", "幼圆", "Times New Roman", "Courier New", "Arial", "MS Sans Serif"};
    for (const char* n : names) SubstituteWhenMissing(QString::fromUtf8(n));
}

QFont ReportFont(const QString& name, double pointSize) {
    SubstituteWhenMissing(name);
    QFont font(name);
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
