#include "busy_wait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

namespace dalvero {

namespace {

// Drops what the user does meanwhile rather than keeping it for later: a
// click on "Dan fil" made while waiting must not write once more afterwards.
class InputSwallower : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

const QString kWaiting = QStringLiteral("Venter på, at et andet program slipper filen …");

} // namespace

BusyWait::BusyWait(std::function<void(const QString&)> show, QString shownBefore)
    : m_show(std::move(show)), m_shownBefore(std::move(shownBefore)) {}

BusyWait::~BusyWait() {
    if (!m_waiting)
        return;
    QApplication::restoreOverrideCursor();
    m_show(m_shownBefore);
}

void BusyWait::operator()(int ms) {
    if (!m_waiting) {
        m_waiting = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_show(kWaiting);
    }
    InputSwallower swallower;
    qApp->installEventFilter(&swallower);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    qApp->removeEventFilter(&swallower);
}

} // namespace dalvero
