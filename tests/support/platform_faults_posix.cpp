// The faults Linux can make: another user, a full disk, modes, links and
// pipes. Locks are Windows's.
#include "child_process.h"
#include "scratch_folder.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

int permissionBits(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return static_cast<int>(info.st_mode & 07777);
}

bool setPermissionBits(const QString& path, int mode) {
    return ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)) == 0;
}

bool makeHidden(const QString&) {
    return false;
}

bool makeSymbolicLink(const QString& target, const QString& at) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0;
}

bool makeNamedPipe(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

TwoDrives twoDrives() {
    return {QStringLiteral("/dev/shm"), QStringLiteral("/"), {}};
}

QString systemReason(SystemError error) {
    switch (error) {
    case SystemError::NoSuchFile:
    case SystemError::NoSuchFolder:
        return qt_error_string(ENOENT);
    case SystemError::NotAFolder:
        return qt_error_string(ENOTDIR);
    case SystemError::AccessDenied:
        return qt_error_string(EACCES);
    case SystemError::FileTooLarge:
        return qt_error_string(EFBIG);
    case SystemError::InUse:
        return qt_error_string(EBUSY);
    }
    return {};
}

} // namespace dalvero::testing
