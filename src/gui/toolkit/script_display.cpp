#include "gui/toolkit/script_display.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <stdexcept>
#include <string>

#include "gui/toolkit/window_text.h"

// The compiled-in translation, initialised by name: a static library's
// resource is otherwise dropped from the program.
static void InitWindowTexts() { Q_INIT_RESOURCE(window_texts); }

namespace tl {

namespace {

Script g_script = Script::kHans;
// The translators this module installed, owned by the application.
QTranslator* g_windows = nullptr;
QTranslator* g_qt = nullptr;

void Remove(QTranslator*& translator) {
    if (!translator) return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

}  // namespace

Script DisplayScript() { return g_script; }

void SetDisplayScript(Script script) {
    g_script = script;
    Remove(g_windows);
    Remove(g_qt);
    if (!QCoreApplication::instance()) return;
    // The buttons and labels of the platform's file, print, font and colour
    // dialogs, where Qt's translations are installed.
    const QLocale qtLocale = script == Script::kHant ? QLocale(QLocale::Chinese, QLocale::Taiwan)
                                                     : QLocale(QLocale::Chinese, QLocale::China);
    g_qt = new QTranslator(QCoreApplication::instance());
    if (g_qt->load(qtLocale, QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(g_qt);
    else
        Remove(g_qt);
    if (script == Script::kHant) {
        static const bool initialised = (InitWindowTexts(), true);
        Q_UNUSED(initialised);
        g_windows = new QTranslator(QCoreApplication::instance());
        if (g_windows->load(QStringLiteral(":/i18n/tenglan_zh_TW.qm"))) QCoreApplication::installTranslator(g_windows);
        else Remove(g_windows);
    }
    // The windows that are open take the new texts.
    RetranslateWindows();
}

QString Shown(std::string_view utf8) {
    if (g_script == Script::kHans) return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    try {
        const std::string converted = ToScript(utf8, g_script);
        return QString::fromStdString(converted);
    } catch (const std::exception&) {
        // Without OpenCC's data the text is shown as it was written.
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
}

QString Shown(const QString& text) {
    if (g_script == Script::kHans) return text;
    return Shown(text.toStdString());
}

}  // namespace tl
