#include "support/gui/scripted_dialogs.h"

#include <tuple>

namespace tl::test {

namespace {

template <typename T>
T Next(std::deque<T>& script, T otherwise) {
    if (!script.empty()) {
        otherwise = std::move(script.front());
        script.pop_front();
    }
    return otherwise;
}

}  // namespace

MessageResult ScriptedDialogs::Message(QWidget*, const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    return Next(answers, MessageResult::Ok);
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const QString& title, const QString& filter,
                                                     int filterIndex) {
    fileDialogs.push_back({title, filter, filterIndex, {}});
    return Next(files, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*, const QString& title, const QString& filter,
                                                     int filterIndex) {
    fileDialogs.push_back({title, filter, filterIndex, {}});
    return Next(files, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::ExportFileName(QWidget*, const QString& title, const QString& filter,
                                                       const QString& suggested) {
    fileDialogs.push_back({title, filter, 1, suggested});
    return Next(files, std::optional<QString>());
}

std::optional<SaveTarget> ScriptedDialogs::SaveTextFileName(QWidget* parent, const QString& title,
                                                            const QString& filter, int filterIndex) {
    const std::optional<QString> path = SaveFileName(parent, title, filter, filterIndex);
    const TextEncoding encoding = Next(encodings, TextEncoding::Gb18030);
    if (!path) return std::nullopt;
    return SaveTarget{*path, encoding};
}

bool ScriptedDialogs::SetUpPrinter(QWidget*, QPrinter& p) {
    ++printDialogs;
    return printer ? printer(p) : false;
}

bool ScriptedDialogs::ChooseFont(QWidget*, FontStyle& font, quint32& colour) {
    fontStarts.emplace_back(font, colour);
    const std::optional<FontAndColour> chosen = Next(fonts, std::optional<FontAndColour>());
    if (chosen) std::tie(font, colour) = *chosen;
    return chosen.has_value();
}

std::optional<quint32> ScriptedDialogs::ChooseColor(QWidget*, quint32 start) {
    colorStarts.push_back(start);
    return Next(colors, std::optional<quint32>());
}

}  // namespace tl::test
