#include "keyboard_user.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace dalvero::testing {

namespace {

// Qt's own helper widgets (viewports, edit fields, drop-downs) carry no name,
// or one that starts with "qt_"; the window's controls carry theirs.
bool isNamedControl(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QAbstractItemView* focusedView() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(widget))
            return view;
    }
    return nullptr;
}

QString currentText(const QAbstractItemView* view) {
    return view->currentIndex().data(Qt::DisplayRole).toString();
}

} // namespace

bool KeyboardUser::bringToFront(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString KeyboardUser::focusedControl() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (isNamedControl(widget))
            return widget->objectName();
    }
    return {};
}

bool KeyboardUser::press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) {
        ADD_FAILURE() << "no widget has the focus for key " << key;
        return false;
    }
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    return true;
}

bool KeyboardUser::type(const QString& text) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) {
        ADD_FAILURE() << "no widget has the focus to type " << text.toStdString();
        return false;
    }
    QTest::keyClicks(focused, text);
    return true;
}

bool KeyboardUser::moveFocusTo(const QString& control, int key, int limit) {
    for (int presses = 0; presses <= limit; ++presses) {
        if (focusedControl() == control)
            return true;
        if (!press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier))
            return false;
    }
    return false;
}

QStringList KeyboardUser::focusPath(int key, int presses) {
    QStringList path;
    for (int i = 0; i < presses; ++i) {
        if (!press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier))
            break;
        path << focusedControl();
    }
    return path;
}

bool KeyboardUser::arrowTo(const QString& text) {
    QAbstractItemView* view = focusedView();
    if (!view)
        return false;
    for (const int key : {Qt::Key_Down, Qt::Key_Up}) {
        // The far end of the list is reached when a press moves nothing.
        for (QModelIndex before; currentText(view) != text;) {
            before = view->currentIndex();
            if (!press(key))
                return false;
            if (view->currentIndex() == before)
                break;
        }
        if (currentText(view) == text)
            return true;
    }
    return false;
}

} // namespace dalvero::testing
