#pragma once

#include "conversion/guarded_rewrite.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace dalvero {

// How a window rewrites a file: while it does, the end of the session is
// held off with a reason the system shows, and a quit that comes meanwhile
// is kept and honoured afterwards. While another program holds the file,
// the window goes on repainting, shows a busy cursor and what it waits for,
// and takes no action from anything (mouse, keys, a screen reader's press,
// a queued click), so that no other handler runs before the one waiting
// has ended. Cursor and text are back as they were when it goes.
class BusyWait {
public:
    // `show` puts a text where the user looks for what happens next.
    BusyWait(QWidget* window, std::function<void(const QString&)> show, QString shownBefore);
    // A wait for something other than a rewrite (a drive slow to answer):
    // nothing to hold the end of the session for, and `waitingFor` told.
    BusyWait(QWidget* window, std::function<void(const QString&)> show, QString shownBefore,
             QString waitingFor);
    ~BusyWait();
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    void operator()(int ms);

private:
    class Gate;
    QPointer<QWidget> m_window;
    std::function<void(const QString&)> m_show;
    QString m_shownBefore;
    QString m_waitingFor;
    std::unique_ptr<Gate> m_gate;
    bool m_holdsSessionEnd = false;
    bool m_waiting = false;
    // Disabling the window takes the focus; the user gets it back after.
    QPointer<QWidget> m_focus;
};

// Runs `job` on a thread of its own and waits at most `boundMs` for it to
// end, the window busy meanwhile as above, with `waitingFor` told in
// `prompt` once the wait lasts long enough to be seen. False when the job
// has not ended by then: it is left to run on and end by itself, so it must
// own copies of all it uses and keep its answer where only it and a caller
// that still waits reach it.
bool endsWithin(QWidget* window, QLabel* prompt, const QString& waitingFor, int boundMs,
                std::function<void()> job);

// The guarded rewrite as a window makes it, busy meanwhile, with what it
// waits for told in `prompt`.
Result<Rewritten> rewriteWhileBusy(QWidget* window, QLabel* prompt, const GuardedRewrite& job);

} // namespace dalvero
