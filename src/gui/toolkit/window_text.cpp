#include "gui/toolkit/window_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace tl {

namespace {

// Where an object keeps the context and source of each of its texts.
constexpr const char* kText = "tlText";
constexpr const char* kTitle = "tlTitle";
constexpr const char* kTip = "tlTip";

void Keep(QObject* object, const char* property, const char* context, const char* source) {
    object->setProperty(property, QVariant::fromValue(QByteArrayList{QByteArray(context), QByteArray(source)}));
}

// The kept text's translation now; empty when the object keeps none.
bool Translation(const QObject* object, const char* property, QString& text) {
    const QVariant kept = object->property(property);
    if (!kept.isValid()) return false;
    const QByteArrayList parts = kept.value<QByteArrayList>();
    if (parts.size() != 2) return false;
    text = QCoreApplication::translate(parts[0].constData(), parts[1].constData());
    return true;
}

void ApplyText(QObject* object) {
    QString text;
    if (!Translation(object, kText, text)) return;
    if (auto* menu = qobject_cast<QMenu*>(object)) menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(object)) action->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(object)) group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(object)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(object)) label->setText(text);
}

void Apply(QObject* object) {
    ApplyText(object);
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        QString text;
        if (Translation(widget, kTitle, text)) widget->setWindowTitle(text);
        if (Translation(widget, kTip, text)) widget->setToolTip(text);
    }
}

}  // namespace

QObject* KeepText(QObject* object, const char* context, const char* source) {
    Keep(object, kText, context, source);
    ApplyText(object);
    return object;
}

void WithTitle(QWidget* window, const char* context, const char* source) {
    Keep(window, kTitle, context, source);
    Apply(window);
}

void WithTip(QWidget* widget, const char* context, const char* source) {
    Keep(widget, kTip, context, source);
    Apply(widget);
}

void RetranslateWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        Apply(window);
        for (QObject* child : window->findChildren<QObject*>()) Apply(child);
    }
}

}  // namespace tl
