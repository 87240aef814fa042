#pragma once

#include "child_process.h"

#include <QByteArray>

#include <functional>
#include <string>

namespace dalvero::testing {

// How a window child ended.
struct ChildRun {
    bool setUp = false;    // the child started and its restriction was in place
    bool finished = false; // the body returned and handed back its report
    std::string ending;    // how the child ended, when it did not finish
    QByteArray report;
};

// The body a child runs: it gets the job the parent gave, and may call
// `pause` to wait until the parent has done its part.
using ChildBody =
    std::function<QByteArray(const QByteArray& job, const std::function<void()>& pause)>;

// Runs this test program again as a child process under `restriction`, which
// runs the child body with `job` (see runAsWindowChild). When the body
// pauses, the child waits until `atPause` has run here in the parent (free of
// the restriction), so that the test can spoil a file between two steps of
// the user.
ChildRun runWindowChild(Restriction restriction, qint64 diskBytes, const QByteArray& job,
                        const std::function<void()>& atPause);

// Whether this process was started by runWindowChild.
bool isWindowChild();
// The child's side: restricts this process, reads the job, runs `body` and
// hands its report back. Returns the exit status for main.
int runAsWindowChild(const ChildBody& body);

} // namespace dalvero::testing
