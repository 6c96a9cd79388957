// Fonts of the report box. The report is laid out with counted spaces for a
// fixed-width font in which every Chinese character takes exactly two
// columns; 宋体 is its default. Where a font name is missing on this system
// it stands for a Ming face of exactly those proportions.
#pragma once

#include <QFont>
#include <QString>

#include "settings/settings.h"

namespace tl {

// The faces that take the place of 宋体 and of every missing font name, in
// order of preference: both draw a Chinese character exactly two Latin
// columns wide on screen and in print at every size.
QStringList ReportFaces();

// Maps 宋体 and the other fonts a saved setting may name to the report
// faces when the system lacks them. Run once at start.
void InstallFontSubstitutes();

// The installed family a stored font name stands for. shezhi.ini keeps only
// the first 10 bytes of a name ("WenQuanYi " for "WenQuanYi Zen Hei Mono"),
// so a name the system lacks is completed to an installed family that
// begins with it: one in which a Chinese character is exactly two Latin
// columns when there is such, a fixed-pitch one before others, a report
// face before others, then the shortest. The full name of a font chosen in
// this program is kept beside shezhi.ini (tenglan.conf) and comes first. A name the system has, or that begins no installed family,
// comes back as it is.
QString InstalledFamily(const QString& name);

// The font `name` at `pointSize`; a name the system lacks is completed to
// an installed family, or else mapped to the report faces. Chosen by name, never by pitch: none of the good
// faces calls itself fixed-pitch.
QFont ReportFont(const QString& name, double pointSize);
// The same for a font style, with its bold, italic, underline and
// strikethrough; and the style of a font.
QFont ReportFont(const FontStyle& style);
FontStyle StyleOf(const QFont& font);

}  // namespace tl
