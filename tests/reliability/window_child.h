#pragma once

#include <QByteArray>

#include <functional>
#include <sys/resource.h>

namespace dalvero::testing {

// What the child is not allowed, so that a platform step really fails.
enum class Restriction {
    None,
    Unprivileged, // uid and gid 65534: file permissions apply, also for the CI's root
    SmallDisk,    // no file may grow past a few kilobytes, as on a full disk
};

// How a window child ended.
struct ChildRun {
    bool setUp = false;    // the restriction was in place
    bool finished = false; // the body returned and handed back its report
    int signal = 0;        // the signal that killed the child, if any
    QByteArray report;
};

// Runs `body` in a forked child under `restriction`. The body may call the
// pause function it is given: the child then waits until `atPause` has run
// in the parent (still root, and free of the restriction), so that the test
// can spoil a file between two steps of the user. A child that runs a window
// makes its own QApplication; the parent must have none.
ChildRun runWindowChild(Restriction restriction, rlim_t diskBytes,
                        const std::function<QByteArray(const std::function<void()>& pause)>& body,
                        const std::function<void()>& atPause);

} // namespace dalvero::testing
