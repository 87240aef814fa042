#include "window_workflow.h"

#include "window_driver.h"

#include <QApplication>
#include <QDataStream>
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

void take(WindowDriver& w, const UserStep& step) {
    switch (step.kind) {
    case UserStep::Kind::OpenFolder:
        w.openFolder(step.control, step.argument);
        break;
    case UserStep::Kind::Click:
        w.click(w.files(step.control), step.argument);
        break;
    }
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
    for (const UserStep& step : flow.afterMerge)
        take(w, step);
    pauseAt(Stage::Merged);
    w.clickDanFil();
}

} // namespace

QByteArray Workflow::serialize() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << baseFolder << exportFolder << exportNames << unikonFolder << unikonName << today
        << qint32(pauseAt ? static_cast<int>(*pauseAt) : -1) << qint32(afterMerge.size());
    for (const UserStep& step : afterMerge)
        out << qint32(step.kind) << step.control << step.argument;
    return bytes;
}

Workflow Workflow::parse(const QByteArray& bytes) {
    Workflow flow;
    QDataStream in(bytes);
    qint32 stage = -1;
    qint32 steps = 0;
    in >> flow.baseFolder >> flow.exportFolder >> flow.exportNames >> flow.unikonFolder >>
        flow.unikonName >> flow.today >> stage >> steps;
    if (stage >= 0)
        flow.pauseAt = static_cast<Stage>(stage);
    for (qint32 i = 0; i < steps && in.status() == QDataStream::Ok; ++i) {
        qint32 kind = 0;
        UserStep step{};
        in >> kind >> step.control >> step.argument;
        step.kind = static_cast<UserStep::Kind>(kind);
        flow.afterMerge << step;
    }
    return flow;
}

// Runs in the child: the whole window lives and dies here.
QByteArray runWorkflowJob(const QByteArray& job, const std::function<void()>& pause) {
    const Workflow flow = Workflow::parse(job);
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

WorkflowRun runWorkflowInChild(const Workflow& flow, Restriction restriction, qint64 diskBytes,
                               const std::function<void()>& atPause) {
    WorkflowRun run;
    run.child = runWindowChild(restriction, diskBytes, flow.serialize(), atPause);
    if (run.child.finished)
        run.report = WindowReport::parse(run.child.report);
    return run;
}

} // namespace dalvero::testing
