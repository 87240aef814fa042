#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <grp.h>
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

ChildOutcome runInChild(const std::function<bool()>& restrict,
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
        if (!restrict())
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

} // namespace

bool dropToNobody() {
    constexpr uid_t nobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0 &&
           ::geteuid() == nobody;
}

bool limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

ChildOutcome runAsUnprivileged(const std::function<QByteArray()>& body) {
    return runInChild(dropToNobody, body);
}

ChildOutcome runWithFileSizeLimit(rlim_t bytes, const std::function<QByteArray()>& body) {
    return runInChild([bytes] { return limitFileSize(bytes); }, body);
}

} // namespace dalvero::testing
