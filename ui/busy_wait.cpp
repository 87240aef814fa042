#include "busy_wait.h"

#include "process.h"
#include "window_parts.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QSessionManager>
#include <QTimer>

namespace dalvero {

namespace {

const QString kWaiting = QStringLiteral("Venter på, at et andet program slipper filen …");
const QString kWriting = QStringLiteral("Dalvero skriver UNIKON-filen");

} // namespace

// Drops what the user does meanwhile rather than keeping it for later: a
// click on "Dan fil" made while waiting must not write once more afterwards.
// A quit, the system's at the end of the session or the user's closing the
// window, is only put off.
class BusyWait::Gate : public QObject {
public:
    bool quitWanted = false;

    bool eventFilter(QObject* target, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Quit:
        case QEvent::Close:
            quitWanted = quitWanted || event->type() == QEvent::Quit ||
                         (target->isWidgetType() && static_cast<QWidget*>(target)->isWindow());
            [[fallthrough]];
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
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

BusyWait::BusyWait(QWidget* window, std::function<void(const QString&)> show, QString shownBefore)
    : m_window(window), m_show(std::move(show)), m_shownBefore(std::move(shownBefore)),
      m_gate(std::make_unique<Gate>()) {
    platform::holdSessionEnd(reinterpret_cast<void*>(m_window->internalWinId()), kWriting);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_gate.get(),
                     [](QSessionManager& manager) { manager.cancel(); });
    qApp->installEventFilter(m_gate.get());
}

BusyWait::~BusyWait() {
    qApp->removeEventFilter(m_gate.get());
    if (m_window)
        platform::releaseSessionEnd(reinterpret_cast<void*>(m_window->internalWinId()));
    if (m_waiting) {
        QApplication::restoreOverrideCursor();
        if (m_window)
            m_window->setEnabled(true);
        m_show(m_shownBefore);
    }
    // Sent as the quit was: QCoreApplication::quit() outside exec() would
    // do nothing.
    if (m_gate->quitWanted)
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
}

void BusyWait::operator()(int ms) {
    if (!m_waiting) {
        m_waiting = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // A disabled window takes no press from a screen reader and runs
        // no click queued before the wait.
        m_window->setEnabled(false);
        m_show(kWaiting);
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Result<Rewritten> rewriteWhileBusy(QWidget* window, QLabel* prompt, const GuardedRewrite& job) {
    BusyWait busy(
        window, [prompt](const QString& text) { setCaption(prompt, text); }, prompt->text());
    return rewriteGuarded(job, std::ref(busy));
}

} // namespace dalvero
