// The windows' road to message boxes and to the file, print, font and colour
// dialogs. Windows receive a Dialogs and never open one themselves, so the
// tests can answer every question and record every message.
#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

#include <optional>

#include "settings/settings.h"
#include "text/text_encoding.h"

class QPrinter;
class QWidget;

namespace tl {

enum class MessageIcon { Information, Question };
enum class MessageButtons { Ok, OkCancel, RetryCancel };  // Retry answers Ok
enum class MessageResult { Ok, Cancel };

// A file to save a text in, and the encoding chosen for it.
struct SaveTarget {
    QString path;
    TextEncoding encoding = TextEncoding::Gb18030;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box; returns the button pressed (Ok for a box with OK only).
    virtual MessageResult Message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons) = 0;

    // Save-file and open-file dialogs. `filter` lists description and pattern
    // pairs separated by "|" ("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
    // `filterIndex` is the preselected pair, counted from 1. The file name
    // starts empty; the save dialog does not ask about overwriting and adds
    // no extension. Empty on Cancel.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                int filterIndex) = 0;
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                                int filterIndex) = 0;
    // The save-file dialog of a text, which also offers its encoding:
    // GB18030 (first, as the archive keeps its texts) or UTF-8 without a
    // byte-order mark. Without a dialog of its own it is SaveFileName and
    // GB18030.
    virtual std::optional<SaveTarget> SaveTextFileName(QWidget* parent, const QString& title, const QString& filter,
                                                       int filterIndex);
    // The save-file dialog of an export: it opens in the folder of
    // `suggested` with its file name filled in, the first filter entry
    // selected. Like the other, it does not ask about overwriting; empty on
    // Cancel.
    virtual std::optional<QString> ExportFileName(QWidget* parent, const QString& title, const QString& filter,
                                                  const QString& suggested) = 0;

    // The print dialog on `printer`: true when the user chose to print, with
    // the choice left in the printer.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;

    // Font dialog with the effects strikethrough, underline and colour,
    // starting from `font` and the text colour `colour` (0x00BBGGRR): true
    // when the user chose, with the choice left in both.
    virtual bool ChooseFont(QWidget* parent, FontStyle& font, quint32& colour) = 0;
    // Colour dialog starting from `start`; colours are 0x00BBGGRR.
    virtual std::optional<quint32> ChooseColor(QWidget* parent, quint32 start) = 0;
};

// The platform's own dialogs.
class QtDialogs final : public Dialogs {
public:
    MessageResult Message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                        int filterIndex) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                        int filterIndex) override;
    std::optional<SaveTarget> SaveTextFileName(QWidget* parent, const QString& title, const QString& filter,
                                               int filterIndex) override;
    std::optional<QString> ExportFileName(QWidget* parent, const QString& title, const QString& filter,
                                          const QString& suggested) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    bool ChooseFont(QWidget* parent, FontStyle& font, quint32& colour) override;
    std::optional<quint32> ChooseColor(QWidget* parent, quint32 start) override;
};

// Colours as the settings and the report store them: 0x00BBGGRR.
QColor ColorFromBgr(quint32 bgr);
quint32 BgrFromColor(const QColor& color);

}  // namespace tl
