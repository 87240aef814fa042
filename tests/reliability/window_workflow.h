#pragma once

#include "window_child.h"
#include "window_report.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace dalvero::testing {

// The moments between the user's steps where a test may spoil a file.
enum class Stage {
    Listed, // the export folder is open and its files are listed
    Loaded, // the export file is loaded and the UNIKON folder is open
    Merged, // the new list is built (and the user's later clicks are done)
};

// One thing the user does in the window, such as a click between the merge
// and "Dan fil". Plain data, so that the child process can be given it.
struct UserStep {
    enum class Kind { OpenFolder, Click } kind;
    QString control;  // "Dir1", "File1"
    QString argument; // the folder opened, the entry clicked
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
    QList<UserStep> afterMerge;

    QByteArray serialize() const;
    static Workflow parse(const QByteArray& bytes);
};

struct WorkflowRun {
    ChildRun child;
    WindowReport report;
};

// Runs the workflow in a child process of its own under `restriction`;
// `atPause` runs in the parent at the workflow's pause stage.
WorkflowRun runWorkflowInChild(
    const Workflow& flow, Restriction restriction = Restriction::None, qint64 diskBytes = 0,
    const std::function<void()>& atPause = [] {});

// The child's side of runWorkflowInChild.
QByteArray runWorkflowJob(const QByteArray& job, const std::function<void()>& pause);

} // namespace dalvero::testing
