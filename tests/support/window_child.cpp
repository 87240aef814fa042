#include "window_child.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstdlib>
#include <exception>

// Failures and user steps cross to and from the child in lists, whose stream
// operators look for these in the types' own namespaces.
namespace dalvero {
QDataStream& operator<<(QDataStream& out, const Failure& f) {
    return out << f.what << f.path << f.reason;
}
QDataStream& operator>>(QDataStream& in, Failure& f) {
    return in >> f.what >> f.path >> f.reason;
}
} // namespace dalvero

namespace dalvero::testing {
QDataStream& operator<<(QDataStream& out, const UserStep& step) {
    return out << qint32(step.kind) << step.control << step.argument;
}
QDataStream& operator>>(QDataStream& in, UserStep& step) {
    qint32 kind = 0;
    in >> kind >> step.control >> step.argument;
    step.kind = static_cast<UserStep::Kind>(kind);
    return in;
}

namespace {

// Names the restriction for the child; its presence makes a child.
constexpr char kChildVariable[] = "DALVERO_WINDOW_CHILD";

// The child's messages on its standard output: it has paused, its
// restriction failed, or its report follows to the end. Control characters,
// so that nothing else the child might print is taken for one.
constexpr char kPaused = '\x01';
constexpr char kSetUpFailed = '\x02';
constexpr char kReport = '\x03';
// The parent's answer to a pause, on the child's standard input.
constexpr char kGoOn = 'G';

// A window child that does not answer within this is taken for hung: it is
// ended before ctest ends the test and leaves the child behind.
constexpr int kPatienceMs = 50'000;

QByteArray serialize(const Workflow& flow) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << flow.baseFolder << flow.exportFolder << flow.exportNames << flow.unikonFolder
        << flow.unikonName << flow.today << qint32(flow.pauseAt ? int(*flow.pauseAt) : -1)
        << flow.afterMerge << flow.clickAgain;
    return bytes;
}

Workflow parseWorkflow(const QByteArray& bytes) {
    Workflow flow;
    QDataStream in(bytes);
    qint32 stage = -1;
    in >> flow.baseFolder >> flow.exportFolder >> flow.exportNames >> flow.unikonFolder >>
        flow.unikonName >> flow.today >> stage >> flow.afterMerge >> flow.clickAgain;
    if (stage >= 0)
        flow.pauseAt = static_cast<Stage>(stage);
    return flow;
}

QByteArray serialize(const WindowReport& r) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << r.failures << r.messages << qint32(r.endStatus) << r.exportHeader << r.prompt
        << r.oldCount << r.newCount << r.danFilEnabled << r.pigeonList << r.oldList << r.newList
        << r.driverError << (r.atRefusal.empty() ? QByteArray() : serialize(r.atRefusal.front()));
    return bytes;
}

WindowReport parseReport(const QByteArray& bytes) {
    WindowReport r;
    QDataStream in(bytes);
    qint32 endStatus = -1;
    QByteArray refusal;
    in >> r.failures >> r.messages >> endStatus >> r.exportHeader >> r.prompt >> r.oldCount >>
        r.newCount >> r.danFilEnabled >> r.pigeonList >> r.oldList >> r.newList >> r.driverError >>
        refusal;
    r.endStatus = endStatus;
    if (!refusal.isEmpty())
        r.atRefusal = {parseReport(refusal)};
    if (in.status() != QDataStream::Ok)
        r.driverError = QStringLiteral("the child's report could not be read");
    return r;
}

void send(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

// The job comes first on standard input: its size on a line, then its bytes.
QByteArray readJob() {
    QByteArray sizeText;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        sizeText += static_cast<char>(c);
    QByteArray job(sizeText.toLongLong(), '\0');
    if (std::fread(job.data(), 1, static_cast<size_t>(job.size()), stdin) !=
        static_cast<size_t>(job.size()))
        return {};
    return job;
}

std::string describeEnd(const QProcess& child) {
    if (child.exitStatus() == QProcess::CrashExit)
        return "crashed (" + child.errorString().toStdString() + ")";
    return "exit code " + std::to_string(child.exitCode());
}

// The whole window lives and dies here, in the child.
WindowReport runWorkflow(const Workflow& flow, const std::function<void()>& pause) {
    static int argc = 1;
    static char name[] = "dalvero_window_child";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    WindowReport report;
    if (!QDir::setCurrent(flow.baseFolder)) {
        report.driverError = QStringLiteral("cannot enter ") + flow.baseFolder;
        return report;
    }
    WindowDriver w(flow.baseFolder);
    QString error;
    try {
        w.run(flow, pause);
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
    }
    report = w.report();
    report.driverError = error;
    return report;
}

} // namespace

bool isWindowChild() {
    return qEnvironmentVariableIsSet(kChildVariable);
}

int runAsWindowChild() {
    useBinaryStandardStreams();
    const QList<QByteArray> parts = qgetenv(kChildVariable).split(':');
    const auto restriction = static_cast<Restriction>(parts.value(0).toInt());
    if (!restrictThisProcess(restriction, parts.value(1).toLongLong())) {
        send(QByteArray(1, kSetUpFailed));
        return 1;
    }
    const Workflow flow = parseWorkflow(readJob());
    const auto pause = [] {
        send(QByteArray(1, kPaused));
        if (std::fgetc(stdin) != kGoOn)
            std::_Exit(1);
    };
    send(kReport + serialize(runWorkflow(flow, pause)));
    // Nothing after the report matters, and a sanitizer build's leak check
    // cannot inspect a process that has dropped root: end here.
    std::_Exit(0);
}

WorkflowRun runWorkflowInChild(const Workflow& flow, Restriction restriction, qint64 diskBytes,
                               const std::function<void()>& atPause) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable),
                       QString::number(static_cast<int>(restriction)) + QLatin1Char(':') +
                           QString::number(diskBytes));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    WorkflowRun run;
    if (!child.waitForStarted()) {
        run.ending = "did not start: " + child.errorString().toStdString();
        return run;
    }
    run.setUp = true;
    const QByteArray job = serialize(flow);
    child.write(QByteArray::number(job.size()) + '\n' + job);

    const QDeadlineTimer deadline(kPatienceMs);
    const auto nextByte = [&](char& byte) {
        while (child.bytesAvailable() == 0) {
            if (!child.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return false;
        }
        return child.getChar(&byte);
    };
    char kind = 0;
    QByteArray report;
    while (nextByte(kind)) {
        if (kind == kPaused) {
            atPause();
            child.write(QByteArray(1, kGoOn));
        } else if (kind == kSetUpFailed) {
            run.setUp = false;
            break;
        } else if (kind == kReport) {
            child.waitForFinished(static_cast<int>(deadline.remainingTime()));
            report = child.readAll();
            run.finished = true;
            break;
        }
    }
    if (child.state() != QProcess::NotRunning && !child.waitForFinished(5000)) {
        child.kill();
        child.waitForFinished();
        run.ending = "hung, killed";
        run.finished = false;
        return run;
    }
    run.finished =
        run.finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (run.finished)
        run.report = parseReport(report);
    else
        run.ending = describeEnd(child);
    return run;
}

} // namespace dalvero::testing
