// Window texts that follow a change of script while the windows are open. A
// text set here is looked up in Qt's translation under `context`, the class
// whose tr() it belongs to (the source marked with QT_TR_NOOP, so that
// lupdate gathers it there), and its source is kept on the object: after
// the translation changed, RetranslateWindows sets every such text again.
#pragma once

#include <QString>

class QObject;
class QWidget;

namespace tl {

// The text of a label, button or action, the title of a group box or menu.
QObject* KeepText(QObject* object, const char* context, const char* source);
template <typename T>
T* WithText(T* object, const char* context, const char* source) {
    KeepText(object, context, source);
    return object;
}
// A window's title, and a widget's tool tip.
void WithTitle(QWidget* window, const char* context, const char* source);
void WithTip(QWidget* widget, const char* context, const char* source);

// Sets every kept text of every window again from the translation now
// installed.
void RetranslateWindows();

}  // namespace tl
