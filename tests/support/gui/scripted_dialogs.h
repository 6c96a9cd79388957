// Dialogs for the GUI tests: every message is recorded, every question and
// dialog is answered from a script (OK, and Cancel for dialogs, when the
// script has run out).
#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "gui/toolkit/dialogs.h"

namespace tl::test {

class ScriptedDialogs final : public Dialogs {
public:
    // A font with its text colour, as the font dialog starts and answers.
    using FontAndColour = std::pair<FontStyle, quint32>;

    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };
    struct FileAsked {
        QString title;
        QString filter;
        int filterIndex;
        QString suggested;  // the path an export dialog starts from
    };

    MessageResult Message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                        int filterIndex) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                        int filterIndex) override;
    // The save dialog of a text: the next file of `files` with the next
    // encoding of `encodings` (GB18030 when it has run out).
    std::optional<SaveTarget> SaveTextFileName(QWidget* parent, const QString& title, const QString& filter,
                                               int filterIndex) override;
    std::optional<QString> ExportFileName(QWidget* parent, const QString& title, const QString& filter,
                                          const QString& suggested) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    bool ChooseFont(QWidget* parent, FontStyle& font, quint32& colour) override;
    std::optional<quint32> ChooseColor(QWidget* parent, quint32 start) override;

    // Recorded.
    std::vector<Shown> messages;
    std::vector<FileAsked> fileDialogs;
    int printDialogs = 0;
    std::vector<FontAndColour> fontStarts;
    std::vector<quint32> colorStarts;

    // The script.
    std::deque<MessageResult> answers;
    std::deque<std::optional<QString>> files;
    std::deque<TextEncoding> encodings;
    // Answers the print dialog; without it the dialog is cancelled.
    std::function<bool(QPrinter&)> printer;
    std::deque<std::optional<FontAndColour>> fonts;
    std::deque<std::optional<quint32>> colors;
};

}  // namespace tl::test
