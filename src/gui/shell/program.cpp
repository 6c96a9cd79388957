#include "gui/shell/program.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "settings/script_choice.h"
#include "gui/toolkit/fonts.h"
#include "gui/toolkit/pictures.h"
#include "gui/toolkit/script_display.h"

namespace tl {

void PrepareApplication(QApplication&) {
    QApplication::setApplicationName(QStringLiteral("tenglan"));
    // The menu entry tenglan.desktop: its icon and name for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("tenglan"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(IconPicture(size));
    QApplication::setWindowIcon(icon);
    InstallFontSubstitutes();
    // The windows speak in 宋体, like the report.
    QApplication::setFont(ReportFont(QStringLiteral("宋体"), 10.5));
    // Simplified characters until the program folder says otherwise; the
    // platform's dialogs in Chinese too, where Qt's translations are
    // installed.
    SetDisplayScript(Script::kHans);
}

Script StartScript(const std::filesystem::path& programFolder) {
    if (const std::optional<Script> chosen = LoadScript(programFolder)) return *chosen;
    // The desktop's language: its locale with the script and territory
    // named, "zh_Hant_TW".
    const QLocale desktop = QLocale::system();
    const QString name = QLocale::languageToCode(desktop.language()) + QLatin1Char('_') +
                         QLocale::scriptToCode(desktop.script()) + QLatin1Char('_') +
                         QLocale::territoryToCode(desktop.territory());
    return ScriptOfLocale(name.toStdString());
}

}  // namespace tl
