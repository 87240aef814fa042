#pragma once

#include <QString>
#include <QWidget>

#include <initializer_list>

class QLabel;
class QPushButton;

// What both windows do alike with their captions, buttons and place.
namespace dalvero {

// Every control is found by its objectName, in tests as in the form.
template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// What a screen reader says before the label's text; for a label that starts
// empty, what it will show.
void setAccessiblePrefix(QLabel* label, const QString& prefix);

// Shows `text` and names the label by it, after its prefix. The "&" of a
// label that gives the keys to its buddy is not said; elsewhere the label
// shows it, and it is said too.
void setCaption(QLabel* label, const QString& text);

QString withoutMnemonic(QString caption);

// Enter on the focused button presses it, as Space does; Qt does that by
// itself only in dialogs. Each is named by its caption without the "&".
void setUpButtons(std::initializer_list<QPushButton*> buttons);

// Tab goes from each widget to the next.
void setTabChain(std::initializer_list<QWidget*> order);

// Fits the window into its screen's free area and centres it there.
void centreOnScreen(QWidget* window);

} // namespace dalvero
