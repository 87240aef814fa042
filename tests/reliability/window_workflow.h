#pragma once

#include "window_child.h"
#include "window_report.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace dalvero::testing {

class WindowDriver;

// The moments between the user's steps where a test may spoil a file.
enum class Stage {
    Listed, // the export folder is open and its files are listed
    Loaded, // the export file is loaded and the UNIKON folder is open
    Merged, // the new list is built (and the user's later clicks are done)
};

// One run of the whole job through the real window: open the export folder,
// click each export file, open the UNIKON folder, double-click the UNIKON
// file, press "Dan fil". The run stops where the program ends.
struct Workflow {
    QString baseFolder; // also the current folder at start
    QString exportFolder;
    QStringList exportNames;
    QString unikonFolder;
    QString unikonName;
    QString today = QStringLiteral("07-12-26");
    std::optional<Stage> pauseAt;
    // What the user does after the merge and before "Dan fil".
    std::function<void(WindowDriver&)> afterMerge;
};

struct WorkflowRun {
    ChildRun child;
    WindowReport report;
};

// Runs the workflow in a child process of its own under `restriction`;
// `atPause` runs in the parent at the workflow's pause stage.
WorkflowRun runWorkflowInChild(
    const Workflow& flow, Restriction restriction = Restriction::None,
    rlim_t diskBytes = RLIM_INFINITY, const std::function<void()>& atPause = [] {});

} // namespace dalvero::testing
