#include "window_child.h"

#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace dalvero::testing {

namespace {

// The child's messages up the pipe: it has paused, its restriction failed,
// or its report follows.
constexpr char kPaused = 'P';
constexpr char kSetUpFailed = 'S';
constexpr char kReport = 'R';
constexpr char kGoOn = 'G';

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

bool readByte(int fd, char& byte) {
    for (;;) {
        const ssize_t n = ::read(fd, &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1;
    }
}

bool restrict(Restriction restriction, rlim_t diskBytes) {
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

[[noreturn]] void runChild(int up, int down, Restriction restriction, rlim_t diskBytes,
                           const std::function<QByteArray(const std::function<void()>&)>& body) {
    if (!restrict(restriction, diskBytes)) {
        writeAll(up, &kSetUpFailed, 1);
        ::_exit(1);
    }
    const auto pause = [up, down] {
        char answer = 0;
        if (!writeAll(up, &kPaused, 1) || !readByte(down, answer))
            ::_exit(1);
    };
    const QByteArray report = body(pause);
    writeAll(up, &kReport, 1);
    writeAll(up, report.constData(), report.size());
    ::_exit(0);
}

} // namespace

ChildRun runWindowChild(Restriction restriction, rlim_t diskBytes,
                        const std::function<QByteArray(const std::function<void()>& pause)>& body,
                        const std::function<void()>& atPause) {
    int up[2];
    int down[2];
    if (::pipe(up) != 0)
        return {};
    if (::pipe(down) != 0) {
        ::close(up[0]);
        ::close(up[1]);
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(up[0]);
        ::close(down[1]);
        runChild(up[1], down[0], restriction, diskBytes, body);
    }
    ::close(up[1]);
    ::close(down[0]);

    ChildRun run;
    run.setUp = pid > 0;
    char kind = 0;
    while (pid > 0 && readByte(up[0], kind)) {
        if (kind == kPaused) {
            atPause();
            writeAll(down[1], &kGoOn, 1);
        } else if (kind == kSetUpFailed) {
            run.setUp = false;
            break;
        } else if (kind == kReport) {
            char buffer[65536];
            ssize_t n;
            while ((n = ::read(up[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
                if (n > 0)
                    run.report.append(buffer, n);
            }
            run.finished = true;
            break;
        }
    }
    ::close(up[0]);
    ::close(down[1]);
    if (pid > 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(status))
            run.signal = WTERMSIG(status);
        run.finished = run.finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return run;
}

} // namespace dalvero::testing
