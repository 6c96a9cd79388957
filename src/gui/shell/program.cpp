#include "gui/shell/program.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "gui/toolkit/fonts.h"
#include "gui/toolkit/pictures.h"

namespace tl {

void PrepareApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("tenglan"));
    // The menu entry tenglan.desktop: its icon and name for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("tenglan"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(IconPicture(size));
    QApplication::setWindowIcon(icon);
    InstallFontSubstitutes();
    // The windows speak in 宋体, like the report.
    QApplication::setFont(ReportFont(QStringLiteral("宋体"), 10.5));
    // The buttons and labels of the platform's file, print, font and colour
    // dialogs in Chinese, where the translations are installed.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

}  // namespace tl
