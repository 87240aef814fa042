#pragma once

#include "child_process.h"
#include "window_driver.h"

#include <QByteArray>

#include <functional>
#include <string>

namespace dalvero::testing {

// How a window child ended, and what its window showed.
struct WorkflowRun {
    bool setUp = false;    // the child started and its restriction was in place
    bool finished = false; // the workflow ran and its report came back
    std::string ending;    // how the child ended, when it did not finish
    WindowReport report;
};

// Runs `flow` through the real window in a child process: this test program
// started again, restricted by `restriction` before it makes its application
// object. At the workflow's pause stage the child waits until `atPause` has
// run here in the parent (free of the restriction), so that the test can
// spoil a file between two steps of the user.
WorkflowRun runWorkflowInChild(
    const Workflow& flow, Restriction restriction = Restriction::None, qint64 diskBytes = 0,
    const std::function<void()>& atPause = [] {});

// Whether this process was started by runWorkflowInChild.
bool isWindowChild();
// The child's side: restricts this process, runs the workflow it is given
// and hands the report back. Returns the exit status for main.
int runAsWindowChild();

} // namespace dalvero::testing
