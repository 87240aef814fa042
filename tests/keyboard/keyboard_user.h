#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QWidget;

namespace dalvero::testing {

// A user with a keyboard and no mouse: every key goes to the widget that has
// the focus, the way the window system delivers it.
class KeyboardUser {
public:
    // Shows the window and makes it the active one, so that it takes the
    // focus; false when it never became active.
    static bool bringToFront(QWidget& window);

    // The control that has the focus: the named control that the focus widget
    // is part of (a combo box's drop-down counts as the combo box); empty when
    // nothing has the focus.
    static QString focusedControl();

    // False, with a test failure, when no widget has the focus.
    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Types `text` into the focused widget, one key a character.
    bool type(const QString& text);

    // Presses `key` (Tab or Backtab) until `control` has the focus, at most
    // `limit` times.
    bool moveFocusTo(const QString& control, int key = Qt::Key_Tab, int limit = 30);
    // The controls the focus lands on, one per press of `key`.
    QStringList focusPath(int key, int presses);

    // Moves the current entry of the focused list with the arrow keys until it
    // shows `text`: down first, then up.
    bool arrowTo(const QString& text);
};

} // namespace dalvero::testing
