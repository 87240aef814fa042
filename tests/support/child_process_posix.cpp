// A child process under a restriction only Linux can make cheaply: another
// user, a full disk. Linux has no lock a program must respect, so no file is
// held here.
#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dalvero::testing {

namespace {

constexpr int kSetUpFailed = 97;
constexpr int kReturned = 0;

void writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

bool dropToNobody() {
    constexpr uid_t nobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0 &&
           ::geteuid() == nobody;
}

bool limitFileSize(qint64 bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace

bool restrictThisProcess(Restriction restriction, qint64 diskBytes) {
    switch (restriction) {
    case Restriction::None:
        return true;
    case Restriction::Unprivileged:
        return dropToNobody();
    case Restriction::SmallDisk:
        return limitFileSize(diskBytes);
    }
    return false;
}

void useBinaryStandardStreams() {}

ChildOutcome runRestricted(Restriction restriction, qint64 diskBytes,
                           const std::function<QByteArray()>& body) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (!restrictThisProcess(restriction, diskBytes))
            ::_exit(kSetUpFailed);
        writeAll(pipeEnds[1], body());
        ::close(pipeEnds[1]);
        ::_exit(kReturned);
    }
    ::close(pipeEnds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        outcome.report.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        outcome.setUp = WEXITSTATUS(status) != kSetUpFailed;
        outcome.returned = WEXITSTATUS(status) == kReturned;
    } else if (WIFSIGNALED(status)) {
        outcome.setUp = true;
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

int rerunTest(const QString& test, const QStringList& variables) {
    const QByteArray filter = "--gtest_filter=" + test.toLatin1();
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        for (const QString& variable : variables)
            ::putenv(::strdup(variable.toLocal8Bit().constData()));
        char program[] = "test";
        char* const argv[] = {program, const_cast<char*>(filter.constData()), nullptr};
        ::execv("/proc/self/exe", argv);
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

HeldFile::HeldFile(const QString&, Sharing) : m_handle(nullptr) {}
HeldFile::~HeldFile() = default;
bool HeldFile::isHeld() const {
    return false;
}
void HeldFile::release() {}

} // namespace dalvero::testing
