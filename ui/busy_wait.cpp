#include "busy_wait.h"

#include "platform/process.h"
#include "window_parts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMutex>
#include <QSessionManager>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

#include <algorithm>

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
    : BusyWait(window, std::move(show), std::move(shownBefore), kWaiting) {
    m_holdsSessionEnd = true;
    platform::holdSessionEnd(reinterpret_cast<void*>(m_window->internalWinId()), kWriting);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_gate.get(),
                     [](QSessionManager& manager) { manager.cancel(); });
}

BusyWait::BusyWait(QWidget* window, std::function<void(const QString&)> show, QString shownBefore,
                   QString waitingFor)
    : m_window(window), m_show(std::move(show)), m_shownBefore(std::move(shownBefore)),
      m_waitingFor(std::move(waitingFor)), m_gate(std::make_unique<Gate>()) {
    qApp->installEventFilter(m_gate.get());
}

BusyWait::~BusyWait() {
    qApp->removeEventFilter(m_gate.get());
    if (m_window && m_holdsSessionEnd)
        platform::releaseSessionEnd(reinterpret_cast<void*>(m_window->internalWinId()));
    if (m_waiting) {
        QApplication::restoreOverrideCursor();
        if (m_window)
            m_window->setEnabled(true);
        if (m_focus)
            m_focus->setFocus();
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
        m_focus = QApplication::focusWidget();
        // A disabled window takes no press from a screen reader and runs
        // no click queued before the wait.
        m_window->setEnabled(false);
        m_show(m_waitingFor);
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace {

// All that a job left running shares with the window's thread, kept alive
// by whichever of the two lets go last.
struct Ending {
    QMutex lock;
    QWaitCondition done;
    bool ended = false;
};

// A wait shorter than this is not shown: most drives answer at once, and a
// window greyed for a moment on each pick would only flicker.
constexpr int kUnseenMs = 150;
// How often the busy window looks whether the job has ended.
constexpr int kLookMs = 20;

} // namespace

bool endsWithin(QWidget* window, QLabel* prompt, const QString& waitingFor, int boundMs,
                std::function<void()> job) {
    const auto ending = std::make_shared<Ending>();
    QThread* thread = QThread::create([ending, job = std::move(job)] {
        job();
        const QMutexLocker held(&ending->lock);
        ending->ended = true;
        ending->done.wakeAll();
    });
    // Deleted once it has ended, whenever that is: never while it runs.
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();

    const QDeadlineTimer deadline(boundMs);
    const auto ended = [&ending] {
        const QMutexLocker held(&ending->lock);
        return ending->ended;
    };
    {
        QMutexLocker held(&ending->lock);
        if (!ending->ended)
            ending->done.wait(&ending->lock, QDeadlineTimer(std::min(kUnseenMs, boundMs)));
        if (ending->ended)
            return true;
    }
    BusyWait busy(
        window, [prompt](const QString& text) { setCaption(prompt, text); }, prompt->text(),
        waitingFor);
    while (!ended() && !deadline.hasExpired())
        busy(static_cast<int>(std::min<qint64>(kLookMs, deadline.remainingTime())));
    return ended();
}

Result<Rewritten> rewriteWhileBusy(QWidget* window, QLabel* prompt, const GuardedRewrite& job) {
    BusyWait busy(
        window, [prompt](const QString& text) { setCaption(prompt, text); }, prompt->text());
    return rewriteGuarded(job, std::ref(busy));
}

} // namespace dalvero
