#include "window_workflow.h"

#include "window_driver.h"

#include <QApplication>
#include <QDir>

#include <exception>

namespace dalvero::testing {

namespace {

bool ended(const WindowDriver& w) {
    return w.seam.endStatus.has_value();
}

WindowReport observe(const WindowDriver& w) {
    WindowReport report;
    report.failures = w.seam.failures;
    report.messages = w.seam.messages;
    report.endStatus = w.seam.endStatus.value_or(-1);
    report.label4 =
        fromDisplay(w.caption(QStringLiteral("Label4"))).value_or(QByteArray("<not 8-bit>"));
    report.label5 = w.caption(QStringLiteral("Label5"));
    report.oldCount = w.caption(QStringLiteral("Label1(5)"));
    report.newCount = w.caption(QStringLiteral("Label1(1)"));
    report.danFilEnabled = w.ownEnabled(QStringLiteral("Command1"));
    report.list1 = w.list1()->lines();
    report.list2 = w.lineList(QStringLiteral("List2"))->lines();
    report.list3 = w.lineList(QStringLiteral("List3"))->lines();
    return report;
}

void drive(WindowDriver& w, const Workflow& flow, const std::function<void()>& pause) {
    const auto pauseAt = [&](Stage stage) {
        if (flow.pauseAt == stage)
            pause();
    };
    w.openFolder(QStringLiteral("Dir3"), flow.exportFolder);
    pauseAt(Stage::Listed);
    for (const QString& name : flow.exportNames) {
        w.click(w.files(QStringLiteral("File2")), name);
        if (ended(w))
            return;
    }
    w.openFolder(QStringLiteral("Dir1"), flow.unikonFolder);
    pauseAt(Stage::Loaded);
    w.doubleClick(w.files(QStringLiteral("File1")), flow.unikonName);
    if (ended(w))
        return;
    if (flow.afterMerge)
        flow.afterMerge(w);
    pauseAt(Stage::Merged);
    w.clickDanFil();
}

// Runs in the child: the whole window lives and dies here.
QByteArray runWorkflow(const Workflow& flow, const std::function<void()>& pause) {
    static int argc = 1;
    static char name[] = "dalvero_reliability";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    if (!QDir::setCurrent(flow.baseFolder)) {
        WindowReport report;
        report.driverError = QStringLiteral("cannot enter ") + flow.baseFolder;
        return report.serialize();
    }
    WindowDriver w(flow.baseFolder);
    w.seam.today = flow.today;
    QString error;
    try {
        drive(w, flow, pause);
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
    }
    WindowReport report = observe(w);
    report.driverError = error;
    return report.serialize();
}

} // namespace

WorkflowRun runWorkflowInChild(const Workflow& flow, Restriction restriction, rlim_t diskBytes,
                               const std::function<void()>& atPause) {
    WorkflowRun run;
    run.child = runWindowChild(
        restriction, diskBytes,
        [&flow](const std::function<void()>& pause) { return runWorkflow(flow, pause); }, atPause);
    if (run.child.finished)
        run.report = WindowReport::parse(run.child.report);
    return run;
}

} // namespace dalvero::testing
