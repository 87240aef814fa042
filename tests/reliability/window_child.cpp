#include "window_child.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstdlib>

namespace dalvero::testing {

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

} // namespace

bool isWindowChild() {
    return qEnvironmentVariableIsSet(kChildVariable);
}

int runAsWindowChild(const ChildBody& body) {
    useBinaryStandardStreams();
    const QList<QByteArray> parts = qgetenv(kChildVariable).split(':');
    const auto restriction = static_cast<Restriction>(parts.value(0).toInt());
    if (!restrictThisProcess(restriction, parts.value(1).toLongLong())) {
        send(QByteArray(1, kSetUpFailed));
        return 1;
    }
    const QByteArray job = readJob();
    const auto pause = [] {
        send(QByteArray(1, kPaused));
        if (std::fgetc(stdin) != kGoOn)
            std::_Exit(1);
    };
    send(kReport + body(job, pause));
    // Nothing after the report matters, and a sanitizer build's leak check
    // cannot inspect a process that has dropped root: end here.
    std::_Exit(0);
}

ChildRun runWindowChild(Restriction restriction, qint64 diskBytes, const QByteArray& job,
                        const std::function<void()>& atPause) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable),
                       QString::number(static_cast<int>(restriction)) + QLatin1Char(':') +
                           QString::number(diskBytes));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    ChildRun run;
    if (!child.waitForStarted()) {
        run.ending = "did not start: " + child.errorString().toStdString();
        return run;
    }
    run.setUp = true;
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
    while (nextByte(kind)) {
        if (kind == kPaused) {
            atPause();
            child.write(QByteArray(1, kGoOn));
        } else if (kind == kSetUpFailed) {
            run.setUp = false;
            break;
        } else if (kind == kReport) {
            child.waitForFinished(static_cast<int>(deadline.remainingTime()));
            run.report = child.readAll();
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
    if (!run.finished)
        run.ending = describeEnd(child);
    return run;
}

} // namespace dalvero::testing
